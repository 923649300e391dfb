// The key/value settings files: line rules, splitting, loading, the exact
// bytes the writers produce, and the application data folder.

#include "../support/files.h"
#include "../support/full_disk.h"
#include "ko_address_check.h"
#include "ko_app_data.h"
#include "ko_settings_file.h"
#include "ko_settings_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

static const std::string Default = KoSettingsFile::DefaultValue;

class TstSettingsFiles : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
    void load_data();
    void load();
    void writerBytes_data();
    void writerBytes();
    void writerRoundTrip_data();
    void writerRoundTrip();
    void failedSaveKeepsOldFile();
    void addresses_data();
    void addresses();
    void dataFolder_data();
    void dataFolder();
};

void TstSettingsFiles::parseLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("no blanks") << QByteArray("PHONE=123") << true << QByteArray("123");
    QTest::newRow("blanks and tab") << QByteArray("  PHONE =\t123 ;") << true << QByteArray("123");
    QTest::newRow("as written") << QByteArray("PHONE = 123;\r") << true << QByteArray("123");
    QTest::newRow("empty value") << QByteArray("PHONE =") << true << QByteArray();

    QTest::newRow("comment") << QByteArray(";PHONE = 123") << false << QByteArray();
    QTest::newRow("no =") << QByteArray("PHONE 123") << false << QByteArray();
    QTest::newRow("no key") << QByteArray(" = 123") << false << QByteArray();
    // Values, and lines that are no values, are read back in writerRoundTrip.
    QTest::newRow("longer key") << QByteArray("PHONES = 123") << false << QByteArray();
}

void TstSettingsFiles::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, stored);
    QFETCH(QByteArray, value);

    KoSettingsFile file;
    file.AddKey("PHONE");
    QCOMPARE(file.ParseLine(line.toStdString()), stored);
    QCOMPARE(file.Values.size(), size_t(1));
    QCOMPARE(file.Values["PHONE"], stored ? value.toStdString() : Default);
}

void TstSettingsFiles::load_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QByteArray>("port");

    QTest::newRow("file") << "file" << true << QByteArray("4000");
    QTest::newRow("missing file") << "missing" << false << QByteArray(Default.c_str());
    QTest::newRow("folder") << "folder" << false << QByteArray(Default.c_str());
    QTest::newRow("far too large") << "large" << false << QByteArray(Default.c_str());
}

void TstSettingsFiles::load()
{
    QFETCH(QString, kind);
    QFETCH(bool, loaded);
    QFETCH(QByteArray, port);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("network.txt");
    if (kind == "file") {
        // Bigger than one read chunk, so the pieces must join up; the last
        // line has no line break.
        QVERIFY(writeFile(path, QByteArray(5000, '\n') + "PORT = 4000;"));
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("network.txt"));
    } else if (kind == "large") {
        QVERIFY(writeFile(path, "PORT = 1;\n" + QByteArray(KoSettingsFile::MaxFileSize, '\n')));
    }

    KoSettingsFile file;
    file.AddKey("PORT");
    QCOMPARE(file.Load(path.toStdString()), loaded);
    QCOMPARE(file.Values["PORT"], port.toStdString());
}

void TstSettingsFiles::writerBytes_data()
{
    QTest::addColumn<bool>("semicolon");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("crlf") << false
                          << QByteArray("HOST_NAME = localhost\r\nPORT = 4567\r\nNEG = -12\r\n"
                                        "EMPTY = \r\nTEXT = a;b c\r\n");
    QTest::newRow("semicolon crlf")
        << true
        << QByteArray("HOST_NAME = localhost;\r\nPORT = 4567;\r\nNEG = -12;\r\n"
                      "EMPTY = ;\r\nTEXT = a;b c;\r\n");
}

void TstSettingsFiles::writerBytes()
{
    QFETCH(bool, semicolon);
    QFETCH(QByteArray, bytes);

    KoSettingsWriter writer(semicolon ? KoSettingsWriter::Terminator::SemicolonCrLf
                                      : KoSettingsWriter::Terminator::CrLf);
    writer.AddText("HOST_NAME", "localhost");
    writer.AddNumber("PORT", 4567);
    writer.AddNumber("NEG", -12);
    writer.AddText("EMPTY", QString());
    // Written unchanged even though it cannot be read back.
    writer.AddText("TEXT", "a;b c");
    QCOMPARE(writer.Bytes(), bytes);

    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    QVERIFY(writeFile(path, QByteArray(1000, 'x')));
    QVERIFY(writer.Save(path));
    QCOMPARE(readFile(path), bytes);
}

void TstSettingsFiles::writerRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<bool>("holds"); // what the editors let through

    const auto row = [](const char* name, const QString& value, const QString& readBack) {
        QTest::newRow(name) << value << readBack << (value == readBack && value != "default");
    };
    row("cyrillic", QString::fromUtf8("Тест"), QString::fromUtf8("Тест"));
    row("equals sign", "a=b", "a=b");
    row("blank inside", "a b", Default.c_str());
    row("tab inside", "a\tb", Default.c_str());
    row("semicolon and note", "a;b", Default.c_str());
    // Reads back as a key the file did not give.
    row("the word default", "default", Default.c_str());
    // A line break must not smuggle a line of its own into the file.
    row("lf", "x\nPHONE = 666", "x");
    row("cr", "x\rPHONE = 666", "x");
}

void TstSettingsFiles::writerRoundTrip()
{
    QFETCH(QString, value);
    QFETCH(QString, readBack);
    QFETCH(bool, holds);
    QCOMPARE(KoSettingsWriter::CanHold(value), holds);

    QTemporaryDir dir;
    const QString path = dir.filePath("modem.txt");
    KoSettingsWriter writer(KoSettingsWriter::Terminator::CrLf);
    writer.AddText("APN", value);
    writer.AddText("PHONE", "123");
    QVERIFY(writer.Save(path));

    KoSettingsFile file;
    file.AddKey("APN");
    file.AddKey("PHONE");
    QVERIFY(file.Load(path.toStdString()));
    QCOMPARE(QString::fromStdString(file.Values["APN"]), readBack);
    QCOMPARE(file.Values["PHONE"], std::string("123"));
}

void TstSettingsFiles::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    KoSettingsWriter big(KoSettingsWriter::Terminator::SemicolonCrLf);
    big.AddText("HOST_NAME", QString(4096, 'h'));
    QVERIFY(!big.Save(dir.filePath("missing/network.txt")));
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));

    // A disk that fills up during the write (a file-size limit stands in for
    // it; permissions would not stop root): the old file stays whole.
    const QString path = dir.filePath("network.txt");
    QVERIFY(writeFile(path, "PORT = 7;\r\n"));
    QString error;
    {
        FullDisk full(1024);
        QVERIFY(full.active());
        QVERIFY(!big.Save(path, &error));
    }
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(path), QByteArray("PORT = 7;\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"network.txt"});
}

// Rows: the text, then whether it is an IPv4 address, a host name, a host the
// link takes, and the port it is (0: none).
void TstSettingsFiles::addresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ipv4");
    QTest::addColumn<bool>("hostName");
    QTest::addColumn<bool>("deviceHost");
    QTest::addColumn<int>("port");
    const auto row = [](const char* text, bool ipv4, bool name, bool device, int port = 0) {
        QTest::newRow(text) << QString(text) << ipv4 << name << device << port;
    };
    row("10.0.2.3", true, false, true);
    row("255.255.255.255", true, false, true);
    row("256.1.1.1", false, false, false);
    row("10.1.2", false, false, false);
    row("10.01.2.3", false, false, false);
    row("localhost", false, true, true);
    row("srv-1.example.com", false, true, true);
    row("-srv.example.com", false, false, false);
    row("srv_1", false, false, false);
    QTest::newRow("label of 63") << QString(63, 'a') << false << true << true << 0;
    QTest::newRow("label of 64") << QString(64, 'a') << false << false << false << 0;
    row("::1", false, false, true);
    row("65535", false, false, false, 65535);
    row("65536", false, false, false);
    row("0", false, false, false);
    row("+80", false, false, false);
}

void TstSettingsFiles::addresses()
{
    QFETCH(QString, text);
    QFETCH(bool, ipv4);
    QFETCH(bool, hostName);
    QFETCH(bool, deviceHost);
    QFETCH(int, port);
    QCOMPARE(KoAddressCheck::IsIpv4(text), ipv4);
    QCOMPARE(KoAddressCheck::IsHostName(text), hostName);
    QCOMPARE(KoAddressCheck::IsDeviceHost(text), deviceHost);
    quint16 parsed = 0;
    QCOMPARE(KoAddressCheck::ParsePort(text, &parsed), port != 0);
    QCOMPARE(int(parsed), port);
}

void TstSettingsFiles::dataFolder_data()
{
    // Paths below the temporary folder; "-" for an empty value.
    QTest::addColumn<QString>("programData");
    QTest::addColumn<QString>("genericData");
    QTest::addColumn<QString>("folder");

    const auto row = [](const char* name, const char* pd, const char* gd, const char* folder) {
        QTest::newRow(name) << QString(pd) << QString(gd) << QString(folder);
    };
    row("program data", "pd", "gd", "pd/Velmora/");
    row("already there", "existing", "-", "existing/Velmora/");
    row("program data missing", "nowhere", "gd", "-");
    row("generic data with parents", "-", "a/b/share", "a/b/share/Velmora/");
    row("neither", "-", "-", "-");
    row("a file in the way", "blocked", "-", "-");
}

void TstSettingsFiles::dataFolder()
{
    QFETCH(QString, programData);
    QFETCH(QString, genericData);
    QFETCH(QString, folder);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir root(dir.path());
    QVERIFY(root.mkdir("pd"));
    QVERIFY(root.mkdir("gd"));
    QVERIFY(root.mkpath("existing/Velmora"));
    QVERIFY(root.mkdir("blocked"));
    QVERIFY(writeFile(dir.filePath("blocked/Velmora"), "not a folder"));

    auto under = [&](const QString& name) {
        return name == "-" ? QString() : dir.path() + '/' + name;
    };
    // The program data folder named relative to the working directory: the
    // result still names it once the working directory moves.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QString built =
        KoAppData::Build(programData == "-" ? QString() : programData, under(genericData));
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(built, under(folder));
    if (!built.isEmpty())
        QVERIFY(QFileInfo(built).isDir());
    QVERIFY(!QFileInfo::exists(dir.filePath("nowhere")));
}

QTEST_GUILESS_MAIN(TstSettingsFiles)
#include "tst_settings_files.moc"
