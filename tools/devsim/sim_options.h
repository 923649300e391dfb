#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The simulator's command line.
class SimOptions
{
public:
    enum class Fault
    {
        None,
        Silent,      // accept, read, send nothing
        DropAfter,   // close a connection after dropAfter frames
        Garbage,     // random bytes and malformed frames between the real ones
        Slow,        // a trickle of bytes
        NoRebootAck, // reboot without acknowledging
        Flood,       // pictures as fast as the socket takes them
        FloodMessages, // other messages as fast as the socket takes them, beside the pictures
        CutPicture,  // close in the middle of a picture frame, after cutAfter whole ones
        NoPictures,  // answer everything, send no picture whatever the view mode
    };

    quint16 port = 4567; // 0: any free port (printed on start-up)
    int passes = 4;
    int fps = 15;
    int width = 640;
    int height = 480;
    bool jpeg = true;
    bool gray = false;
    uint64_t seed = 1;
    double missRate = 0;  // of the true crossings, the share the device misses
    double extraRate = 0; // and the share it counts twice
    Fault fault = Fault::None;
    int dropAfter = 0;
    int cutAfter = 0;
    int rebootDelayMs = 3000;
    // Requests the device refuses (keeping its values): any of "line",
    // "mount", "modem", "server".
    QStringList refuse;
    bool quiet = false;
    bool help = false;
    // Replay: the bytes of a capture file instead of a simulated device.
    QString replayPath;
    bool loop = false;
    double speed = 1.0;
    bool info = false; // print what the capture holds and end

    // Fills options from the arguments (the program name first). False with
    // a message in error for anything it does not understand.
    static bool Parse(const QStringList& arguments, SimOptions& options, QString& error);
    static QString Usage();
    static QString FaultName(Fault fault);
};
