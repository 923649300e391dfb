#include "ko_frame_escaper.h"

#include "ko_byte_scan.h"

void KoFrameEscaper::Escape(const char* data, qsizetype size, Mode mode, QByteArray& out)
{
    if (size <= 0)
        return;
    // Random data needs one escape in about 85 bytes; reserve a little more
    // than that so a picture is escaped without growing the array twice.
    out.reserve(int(out.size() + size + size / 32 + 2));
    if (mode == Whole || mode == StartOnly)
        out.append(static_cast<char>(ko_wire::StartByte));
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
        const char* q = ko_wire::FindSpecial(p, end);
        if (q > p)
            out.append(p, int(q - p));
        if (q == end)
            break;
        char pair[2] = {static_cast<char>(ko_wire::EscapeByte), 0};
        switch (static_cast<uint8_t>(*q)) {
        case ko_wire::EscapeByte:
            pair[1] = static_cast<char>(ko_wire::EscapedEscape);
            break;
        case ko_wire::StartByte:
            pair[1] = static_cast<char>(ko_wire::EscapedStart);
            break;
        default:
            pair[1] = static_cast<char>(ko_wire::EscapedEnd);
            break;
        }
        out.append(pair, 2);
        p = q + 1;
    }
    if (mode == Whole || mode == EndOnly)
        out.append(static_cast<char>(ko_wire::EndByte));
}

QByteArray KoFrameEscaper::Frame(const QByteArray& body)
{
    QByteArray out;
    Escape(body, Whole, out);
    return out;
}
