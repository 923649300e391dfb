#pragma once

#include "ko_decoded_messages.h"

#include <QByteArray>

// Decodes one frame body of the device (type code first) into records. Pure:
// no thread, no socket; the reader thread, the simulator, the fuzzers and the
// tests all call it.
//
// Every count and length is checked against the body before anything is read
// or allocated. Fields missing at the end of a shorter body read as zero,
// except where a count promises more than the body holds: such a body is
// dropped whole. Pictures are not decompressed here; KoImageDecoder does that
// with the KoImageMessage this fills in.
class KoMessageDecoder
{
public:
    // Fills out (reusing its buffers) and returns out.result. Pointers in out
    // refer into body and are valid as long as it is.
    static KoDecodedMessage::Result Decode(const char* body, qsizetype size, KoDecodedMessage& out);
    static KoDecodedMessage::Result Decode(const QByteArray& body, KoDecodedMessage& out)
    {
        return Decode(body.constData(), body.size(), out);
    }
};
