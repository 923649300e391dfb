#pragma once

#include <QByteArray>

// Escapes a body into a frame: 0xA0, 0xAA and 0xAB become 0xA0 followed by
// 0x00, 0x0A and 0x0B; every other byte goes as it is.
class KoFrameEscaper
{
public:
    enum Mode
    {
        Whole = 0,     // start byte, escaped body, end byte
        StartOnly = 1, // start byte and escaped body
        EndOnly = 2,   // escaped body and end byte
        BodyOnly = 3,  // escaped body alone
    };

    // Appends the escaped bytes to out. An empty input appends nothing, in
    // every mode. Modes 1 and 2 let one frame be assembled from pieces.
    static void Escape(const char* data, qsizetype size, Mode mode, QByteArray& out);
    static void Escape(const QByteArray& body, Mode mode, QByteArray& out)
    {
        Escape(body.constData(), body.size(), mode, out);
    }

    // The whole frame of one body (mode 0); empty for an empty body.
    static QByteArray Frame(const QByteArray& body);
};
