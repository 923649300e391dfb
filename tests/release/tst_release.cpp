// The Debian package: what it installs, what it depends on, and that the
// installed configurator answers --version and --help and finds its
// translation.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

Run Execute(const QString& program, const QStringList& args,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
            const QString& folder = QString())
{
    QProcess process;
    process.setProcessEnvironment(env);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, args);
    Run run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.err = "did not finish: " + program;
        return run;
    }
    run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class TestRelease : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;
    QString package;
    QString root;

    QString Installed(const QString& path) const { return root + '/' + path; }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        const QString out = scratch.filePath("out");
        const Run pack = Execute(VELMORA_CPACK, {"-G", "DEB", "-B", out, "--config",
                                                 VELMORA_BUILD_DIR "/CPackConfig.cmake"});
        QVERIFY2(pack.code == 0, qPrintable(pack.out + pack.err));
        const QStringList debs = QDir(out).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        package = out + '/' + debs.first();
        root = scratch.filePath("root");
        const Run unpack = Execute("dpkg", {"-x", package, root});
        QVERIFY2(unpack.code == 0, qPrintable(unpack.err));
    }

    void files_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("program");
        QTest::newRow("configurator") << "usr/bin/velmora-configurator" << true;
        for (const QString& tool : QString(VELMORA_TOOLS).split(',', Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(tool)) << "usr/bin/" + tool << true;
        QTest::newRow("translation") << "usr/share/velmora/translations/tb_client_ru.qm" << false;
        QTest::newRow("desktop entry")
            << "usr/share/applications/velmora-configurator.desktop" << false;
        QTest::newRow("icon 256") << "usr/share/icons/hicolor/256x256/apps/velmora-configurator.png"
                                  << false;
    }

    void files()
    {
        QFETCH(QString, path);
        QFETCH(bool, program);
        const QFileInfo info(Installed(path));
        QVERIFY2(info.isFile() && info.size() > 0, qPrintable(path));
        QCOMPARE(info.isExecutable(), program);
    }

    // Every library an installed program links comes from a package the
    // .deb depends on, and none of them is a -dev package.
    void dependencies()
    {
        const Run field = Execute("dpkg-deb", {"-f", package, "Depends"});
        QCOMPARE(field.code, 0);
        QSet<QString> depends;
        for (const QString& item : field.out.split(QRegularExpression("[,|]"))) {
            const QString name = item.trimmed().section(' ', 0, 0);
            QVERIFY2(!name.endsWith("-dev"), qPrintable(name));
            depends.insert(name);
        }
        const QStringList programs = QDir(Installed("usr/bin")).entryList(QDir::Files);
        QVERIFY(!programs.isEmpty());
        for (const QString& program : programs) {
            const Run dynamic = Execute("readelf", {"-d", Installed("usr/bin/" + program)});
            QCOMPARE(dynamic.code, 0);
            auto it = QRegularExpression("\\(NEEDED\\).*\\[(.+)\\]").globalMatch(dynamic.out);
            while (it.hasNext()) {
                const QString library = it.next().captured(1);
                const Run owner = Execute("dpkg", {"-S", "*/" + library});
                QVERIFY2(owner.code == 0, qPrintable(library));
                // Several packages may ship a library of that name (other
                // architectures): one of them must be depended on.
                bool found = false;
                for (const QString& line : owner.out.split('\n', Qt::SkipEmptyParts))
                    for (const QString& name : line.section(": ", 0, 0).split(','))
                        found = found || depends.contains(name.section(':', 0, 0).trimmed());
                QVERIFY2(found, qPrintable(program + ": " + library + " from " + owner.out));
            }
        }
    }

    // Help and version work without a display; anything else is refused.
    void commandLine_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("--version")
            << "--version" << 0 << "^velmora-configurator " VELMORA_VERSION "\\n$";
        QTest::newRow("--help") << "--help" << 0 << "^Usage: .*network\\.txt.*--version";
        QTest::newRow("unknown") << "--port" << 1 << "Unknown option 'port'";
    }

    void commandLine()
    {
        QFETCH(QString, option);
        QFETCH(int, code);
        QFETCH(QString, pattern);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        if (code == 0)
            env.remove("QT_QPA_PLATFORM");
        const Run run = Execute(Installed("usr/bin/velmora-configurator"), {option}, env);
        QCOMPARE(run.code, code);
        const QRegularExpression expected(pattern, QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(expected.match(code == 0 ? run.out : run.err).hasMatch(),
                 qPrintable(run.out + run.err));
    }

    // The installed program finds its translation in the installed data
    // folder; the window shows the built-in icon because the form's icon file
    // is absent, and keeps running.
    void translation()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        QVERIFY(QDir(work.path()).mkpath("data/Velmora"));
        // A port nothing listens on: the window must not reach anyone's device.
        QFile network(work.filePath("data/Velmora/network.txt"));
        QVERIFY(network.open(QIODevice::WriteOnly));
        network.write("HOST_NAME=127.0.0.1\nPORT=1\n");
        network.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_LOGGING_RULES", "velmora.app.debug=true");
        env.insert("QT_MESSAGE_PATTERN", "%{message}");
        env.insert("PROGRAMDATA", work.filePath("data"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(work.path());
        process.start(Installed("usr/bin/velmora-configurator"), QStringList());
        QString log;
        QElapsedTimer clock;
        clock.start();
        while (!log.contains("window icon") && clock.elapsed() < 60000 &&
               process.state() != QProcess::NotRunning) {
            process.waitForReadyRead(1000);
            log += QString::fromLocal8Bit(process.readAllStandardError());
        }
        process.kill();
        process.waitForFinished();
        QVERIFY2(log.contains("translation loaded from " +
                              Installed("usr/share/velmora/translations\n")),
                 qPrintable(log));
        QVERIFY2(log.contains("built-in window icon"), qPrintable(log));
        // Settings files are plain names in the data folder, where the program works.
        QVERIFY2(log.contains("working directory \"" + work.filePath("data/Velmora") + '"'),
                 qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TestRelease)
#include "tst_release.moc"
