#pragma once

#include "ko_frame_parser.h"

#include <QByteArray>
#include <QList>

// Feeds bytes to the parser and appends the body of every frame they
// complete; a frame left open waits for the next call.
inline void AppendFrameBodies(KoFrameParser& parser, const QByteArray& data,
                              QList<QByteArray>& bodies)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const qsizetype used = parser.Feed(p, left);
        p += used;
        left -= used;
        if (parser.HasFrame()) {
            bodies.append(QByteArray(parser.BodyData(), int(parser.BodySize())));
            parser.ReleaseFrame();
        }
    }
}
