// pcdtool pack [--cipher] OUT.pcd NAME=FILE...   build a distribution
// pcdtool list FILE                              members, sizes, CRC check
// pcdtool extract FILE NAME OUT                  one member's data
// Exit status 0 on success, 1 on a bad file or a failure, 2 on wrong usage.

#include "ko_distribution_reader.h"
#include "ko_distribution_writer.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

namespace {

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usage()
{
    err() << "usage: pcdtool pack [--cipher] OUT.pcd NAME=FILE...\n"
             "       pcdtool list FILE\n"
             "       pcdtool extract FILE NAME OUT\n";
    return 2;
}

int pack(QStringList args)
{
    auto mode = KoDistribution::modeClear;
    if (args.removeAll(QStringLiteral("--cipher")) > 0)
        mode = KoDistribution::modeEnciphered;
    if (args.size() < 2)
        return usage();
    const QString out = args.takeFirst();
    KoDistributionWriter writer;
    for (const QString& arg : qAsConst(args)) {
        const int eq = arg.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return usage();
        QFile file(arg.mid(eq + 1));
        if (!file.open(QIODevice::ReadOnly)) {
            err() << "pcdtool: cannot read " << file.fileName() << "\n";
            return 1;
        }
        QString error;
        if (!writer.addMember(arg.left(eq).toUtf8(), file.readAll(), mode, 0, -1, &error)) {
            err() << "pcdtool: " << error << "\n";
            return 1;
        }
    }
    QString error;
    if (!writer.write(out, &error)) {
        err() << "pcdtool: cannot write " << out << ": " << error << "\n";
        return 1;
    }
    return 0;
}

bool load(const QString& path, KoDistribution* distribution)
{
    QString error;
    if (KoDistributionReader::read(path, distribution, &error))
        return true;
    err() << "pcdtool: " << path << ": not a correct distribution: " << error << "\n";
    return false;
}

int list(const QStringList& args)
{
    if (args.size() != 1)
        return usage();
    KoDistribution distribution;
    if (!load(args[0], &distribution))
        return 1;
    QTextStream out(stdout);
    for (const KoDistributionMember& m : qAsConst(distribution.members))
        out << QString::fromUtf8(m.name) << "\t" << m.dataSize << "\t"
            << QStringLiteral("%1").arg(m.crc, 8, 16, QLatin1Char('0')) << "\t"
            << (m.headerMode == KoDistribution::modeEnciphered ? "enciphered" : "clear")
            << "\tCRC ok\n";
    return 0;
}

int extract(const QStringList& args)
{
    if (args.size() != 3)
        return usage();
    KoDistribution distribution;
    if (!load(args[0], &distribution))
        return 1;
    for (const KoDistributionMember& m : qAsConst(distribution.members)) {
        if (QString::fromUtf8(m.name) != args[1])
            continue;
        QByteArray data;
        QString error;
        if (!KoDistributionReader::readMemberData(args[0], m, &data, &error)) {
            err() << "pcdtool: " << error << "\n";
            return 1;
        }
        QSaveFile file(args[2]);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
            err() << "pcdtool: cannot write " << args[2] << "\n";
            return 1;
        }
        return 0;
    }
    err() << "pcdtool: no member " << args[1] << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("pack"))
        return pack(args);
    if (command == QLatin1String("list"))
        return list(args);
    if (command == QLatin1String("extract"))
        return extract(args);
    return usage();
}
