#include "sim_options.h"

namespace {

bool toInt(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    value = v;
    return true;
}

} // namespace

bool SimOptions::Parse(const QStringList& arguments, SimOptions& options, QString& error)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString arg = arguments.at(i);
        // --name=value and --name value are both accepted.
        QString name = arg;
        QString value;
        bool has_value = false;
        const int eq = arg.indexOf(QLatin1Char('='));
        if (arg.startsWith(QLatin1String("--")) && eq > 0 &&
            !arg.startsWith(QLatin1String("--fault"))) {
            name = arg.left(eq);
            value = arg.mid(eq + 1);
            has_value = true;
        }
        auto takeValue = [&]() -> bool {
            if (has_value)
                return true;
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("%1 needs a value").arg(name);
                return false;
            }
            value = arguments.at(++i);
            has_value = true;
            return true;
        };
        auto bad = [&]() {
            error = QStringLiteral("bad value for %1: \"%2\"").arg(name, value);
            return false;
        };

        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            options.help = true;
        } else if (name == QLatin1String("--gray")) {
            options.gray = true;
        } else if (name == QLatin1String("--quiet")) {
            options.quiet = true;
        } else if (name == QLatin1String("--port")) {
            int v = 0;
            if (!takeValue() || !toInt(value, 0, 65535, v))
                return has_value ? bad() : false;
            options.port = static_cast<quint16>(v);
        } else if (name == QLatin1String("--passes")) {
            if (!takeValue() || !toInt(value, 1, 4, options.passes))
                return has_value ? bad() : false;
        } else if (name == QLatin1String("--fps")) {
            if (!takeValue() || !toInt(value, 1, 60, options.fps))
                return has_value ? bad() : false;
        } else if (name == QLatin1String("--size")) {
            if (!takeValue())
                return false;
            const QStringList parts = value.split(QLatin1Char('x'));
            if (parts.size() != 2 || !toInt(parts[0], 64, 4096, options.width) ||
                !toInt(parts[1], 48, 4096, options.height))
                return bad();
        } else if (name == QLatin1String("--encoding")) {
            if (!takeValue())
                return false;
            if (value == QLatin1String("jpeg"))
                options.jpeg = true;
            else if (value == QLatin1String("raw"))
                options.jpeg = false;
            else
                return bad();
        } else if (name == QLatin1String("--seed")) {
            if (!takeValue())
                return false;
            bool ok = false;
            options.seed = value.toULongLong(&ok);
            if (!ok)
                return bad();
        } else if (name == QLatin1String("--replay")) {
            if (!takeValue())
                return false;
            if (value.isEmpty())
                return bad();
            options.replayPath = value;
        } else if (name == QLatin1String("--loop")) {
            options.loop = true;
        } else if (name == QLatin1String("--info")) {
            options.info = true;
        } else if (name == QLatin1String("--speed")) {
            if (!takeValue())
                return false;
            bool ok = false;
            options.speed = value.toDouble(&ok);
            if (!ok || !(options.speed >= 0.1 && options.speed <= 64))
                return bad();
        } else if (name == QLatin1String("--miss-rate") || name == QLatin1String("--extra-rate")) {
            if (!takeValue())
                return false;
            bool ok = false;
            const double rate = value.toDouble(&ok);
            if (!ok || !(rate >= 0 && rate <= 1))
                return bad();
            (name == QLatin1String("--miss-rate") ? options.missRate : options.extraRate) = rate;
        } else if (name == QLatin1String("--reboot-delay")) {
            if (!takeValue() || !toInt(value, 0, 600000, options.rebootDelayMs))
                return has_value ? bad() : false;
        } else if (name == QLatin1String("--refuse")) {
            if (!takeValue())
                return false;
            const QStringList known{QStringLiteral("line"), QStringLiteral("mount"),
                                    QStringLiteral("modem"), QStringLiteral("server")};
            for (const QString& what : value.split(QLatin1Char(','))) {
                if (!known.contains(what))
                    return bad();
                options.refuse << what;
            }
        } else if (name.startsWith(QLatin1String("--fault"))) {
            if (name.startsWith(QLatin1String("--fault="))) {
                value = name.mid(8);
            } else if (name == QLatin1String("--fault")) {
                if (!takeValue())
                    return false;
            } else {
                error = QStringLiteral("unknown option %1").arg(arg);
                return false;
            }
            if (value == QLatin1String("silent")) {
                options.fault = Fault::Silent;
            } else if (value == QLatin1String("garbage")) {
                options.fault = Fault::Garbage;
            } else if (value == QLatin1String("slow")) {
                options.fault = Fault::Slow;
            } else if (value == QLatin1String("no-reboot-ack")) {
                options.fault = Fault::NoRebootAck;
            } else if (value == QLatin1String("flood")) {
                options.fault = Fault::Flood;
            } else if (value == QLatin1String("flood-messages")) {
                options.fault = Fault::FloodMessages;
            } else if (value == QLatin1String("no-pictures")) {
                options.fault = Fault::NoPictures;
            } else if (value == QLatin1String("cut-picture")) {
                options.fault = Fault::CutPicture;
                options.cutAfter = 0;
            } else if (value.startsWith(QLatin1String("cut-picture="))) {
                if (!toInt(value.mid(12), 0, 1 << 30, options.cutAfter))
                    return bad();
                options.fault = Fault::CutPicture;
            } else if (value.startsWith(QLatin1String("drop-after="))) {
                if (!toInt(value.mid(11), 0, 1 << 30, options.dropAfter))
                    return bad();
                options.fault = Fault::DropAfter;
            } else {
                return bad();
            }
        } else {
            error = QStringLiteral("unknown option %1").arg(arg);
            return false;
        }
    }
    const bool replay_only = options.loop || options.info || options.speed != 1.0;
    if (options.replayPath.isEmpty() && replay_only) {
        error = QStringLiteral("--loop, --speed and --info go with --replay");
        return false;
    }
    if (!options.replayPath.isEmpty() && options.fault != Fault::None) {
        error = QStringLiteral("a replay has no fault modes");
        return false;
    }
    return true;
}

QString SimOptions::Usage()
{
    return QStringLiteral(
        "Usage: velmora-devsim [options]\n"
        "Plays a counting device and its system unit on 127.0.0.1.\n"
        "\n"
        "  --port N           listen on 127.0.0.1:N (default 4567; 0 picks a free port)\n"
        "  --passes N         number of doors, 1 to 4 (default 4)\n"
        "  --fps N            frames per second, 1 to 60 (default 15)\n"
        "  --size WxH         picture size (default 640x480)\n"
        "  --encoding E       jpeg or raw pictures (default jpeg)\n"
        "  --gray             one-channel pictures instead of colour\n"
        "  --seed N           seed of the people and the statistics (default 1)\n"
        "  --miss-rate R      share of the true crossings the device misses, 0 to 1\n"
        "                     (default 0)\n"
        "  --extra-rate R     share of the true crossings it counts twice, 0 to 1\n"
        "                     (default 0); both drawn per crossing from the seed\n"
        "  --reboot-delay MS  how long a reboot keeps the port closed (default 3000)\n"
        "  --refuse WHAT      refuse these requests, keeping the values held: a\n"
        "                     comma-separated list of line, mount, modem, server\n"
        "  --fault MODE       one of:\n"
        "                       silent         accept and read, send nothing\n"
        "                       drop-after=N   close a connection after N frames\n"
        "                       garbage        random bytes and malformed frames between\n"
        "                                      the real ones\n"
        "                       slow           a trickle of bytes\n"
        "                       no-reboot-ack  reboot without acknowledging\n"
        "                       flood          pictures as fast as the socket takes them\n"
        "                       flood-messages messages the tool shows nothing of, as fast\n"
        "                                      as the socket takes them, beside the pictures\n"
        "                       cut-picture[=N] close in the middle of a picture frame,\n"
        "                                      after N whole ones (default 0)\n"
        "                       no-pictures    answer everything, send no pictures\n"
        "  --replay FILE      serve the bytes of a capture file (recorded with the\n"
        "                     configurator) with their original timing, from its\n"
        "                     start to every tool that connects; what the tool\n"
        "                     sends is not answered\n"
        "  --loop             with --replay: start again at the end instead of closing\n"
        "  --speed X          with --replay: X times the original speed, 0.1 to 64\n"
        "  --info             with --replay: print the capture's header, duration,\n"
        "                     messages by code and pictures per door, and end\n"
        "  --quiet            no log lines\n"
        "  --help             this text\n"
        "\n"
        "Prints one line per connection and per request handled; a view mode\n"
        "that the configurator repeats every second is printed when it changes.\n"
        "Every true crossing of a counting line is printed as one line,\n"
        "\"crossing pass P in|out, device counts N\" (P from 0; N is 0, 1 or 2).\n");
}

QString SimOptions::FaultName(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return QStringLiteral("none");
    case Fault::Silent:
        return QStringLiteral("silent");
    case Fault::DropAfter:
        return QStringLiteral("drop-after");
    case Fault::Garbage:
        return QStringLiteral("garbage");
    case Fault::Slow:
        return QStringLiteral("slow");
    case Fault::NoRebootAck:
        return QStringLiteral("no-reboot-ack");
    case Fault::Flood:
        return QStringLiteral("flood");
    case Fault::FloodMessages:
        return QStringLiteral("flood-messages");
    case Fault::CutPicture:
        return QStringLiteral("cut-picture");
    case Fault::NoPictures:
        return QStringLiteral("no-pictures");
    }
    return QString();
}
