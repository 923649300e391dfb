// The main window: its menus, tabs and status bar, the yes/no question of the
// system-unit controller, the translation, and the program's start-up.

#include "../support/real_display.h"
#include "ko_app_data.h"
#include "ko_capture_ui.h"
#include "ko_client_mult_ui.h"
#include "ko_link_status_widget.h"
#include "ko_report_export.h"
#include "ko_tcp_client.h"
#include "ko_statistics_viewer.h"
#include "main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << action->text();
    return texts;
}

QString StatusText(MainWindow& window)
{
    return window.findChild<QStatusBar*>("statusBar")->currentMessage();
}

KoLinkStatusWidget* LinkStatus(MainWindow& window)
{
    return window.findChild<KoLinkStatusWidget*>("linkStatus");
}

// Runs handle on the message box as soon as one is shown modally.
void OnMessageBox(QObject* context, std::function<void(QMessageBox*)> handle)
{
    auto* timer = new QTimer(context);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, context, [timer, handle] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            handle(box);
        }
    });
    timer->start();
}

QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void embeddedImages_data();
    void embeddedImages();
    void layout();
    void menuEntries_data();
    void menuEntries();
    void statusBar_data();
    void statusBar();
    void question_data();
    void question();
    void translation();
    void startUp_data();
    void startUp();
};

void TstMainWindow::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TstMainWindow::embeddedImages_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");

    QTest::newRow("people") << ":/people.png" << 96;
    for (const char* name :
         {"Record-Normal-icon", "zoomin", "zoomout", "Refresh", "calendaricon", "clockicon"})
        QTest::newRow(name) << QString(":/%1.png").arg(name) << 48;
}

void TstMainWindow::embeddedImages()
{
    QFETCH(QString, path);
    QFETCH(int, size);

    const QImage image(path);
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
    // Something is drawn, and the corners are left clear or nearly so.
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            opaque += qAlpha(image.pixel(x, y)) > 128;
    }
    QVERIFY2(opaque > size * size / 8, qPrintable(QString::number(opaque)));
    QVERIFY(qAlpha(image.pixel(0, 0)) < 64);
}

void TstMainWindow::menuEntries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("tips");

    QTest::newRow("File") << "menuFile"
                          << QStringList{"&Open capture…", "Close ca&pture", "", "&Record capture…",
                                         "", "Close"}
                          << QStringList{"Replay a recorded capture in the live view",
                                         "End the replay and connect to the device again", "",
                                         "Record what the device sends into a capture file", "",
                                         "Close program"};
    QTest::newRow("Tools")
        << "menuTools"
        << QStringList{"Lan options", "Modem settings", "Server settings",
                       "Update",      "Reboot",         QString::fromUtf8("Системные настройки")}
        << QStringList{"Open LAN network options", "Open modem dialog", "Open server dialog",
                       "Open update dialog",       "Reboot device",     QString()};
}

void TstMainWindow::menuEntries()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, tips);

    MainWindow window;
    const QList<QAction*> actions = window.findChild<QMenu*>(menu)->actions();
    QCOMPARE(Texts(actions), texts);
    QStringList shown_tips;
    for (const QAction* action : actions) {
        shown_tips << action->statusTip();
        QCOMPARE(action->parent(), &window);
    }
    QCOMPARE(shown_tips, tips);
}

void TstMainWindow::layout()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QString("Velmora Configurator"));
    QCOMPARE(Texts(window.menuBar()->actions()), (QStringList{"File", "Tools"}));
    // The form's own actions stay out of sight.
    QVERIFY(window.actions().isEmpty());

    auto* tabs = window.findChild<QTabWidget*>("tabWidget");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QString("Video"));
    QCOMPARE(tabs->tabText(1), QString("Statistics"));
    QCOMPARE(tabs->tabText(2), QString("Reports"));
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(!tabs->tabsClosable());
    auto* scroll = qobject_cast<QScrollArea*>(tabs->widget(0));
    QVERIFY(scroll);
    QVERIFY(qobject_cast<KoClientMultUi*>(scroll->widget()));
    QVERIFY(qobject_cast<KoStatisticsViewer*>(tabs->widget(1)));
    QVERIFY(qobject_cast<KoReportExport*>(tabs->widget(2)));
    // The form's placeholder pages are gone with the tabs they stood in.
    QVERIFY(!window.findChild<QWidget*>("tab"));
    QVERIFY(!window.findChild<QWidget*>("tab_2"));

    // File > Close closes the window.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QMenu*>("menuFile")->actions().last()->trigger();
    QVERIFY(!window.isVisible());
}

void TstMainWindow::statusBar_data()
{
    // Events: c = the link connects, g = it is connecting, d = it is
    // unconnected, t = it aims at 10.0.0.7:5000, u = the system unit writes
    // a text of its own, m = a menu entry's tip is shown.
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("shown"); // the link's permanent place
    QTest::addColumn<QString>("message");

    const auto row = [](const char* name, const char* events, const char* shown,
                        const char* message) {
        QTest::newRow(name) << QString(events) << QString(shown) << QString(message);
    };
    row("connected", "c", "Connected localhost:4567", "");
    row("lost", "cd", "Disconnected localhost:4567", "");
    row("trying a new address", "cdtg", "Connecting... 10.0.0.7:5000", "");
    row("unit text beside the state", "cud", "Disconnected localhost:4567", "unit");
    row("a menu tip hides nothing", "cm", "Connected localhost:4567", "tip");
}

void TstMainWindow::statusBar()
{
    QFETCH(QString, events);
    QFETCH(QString, shown);
    QFETCH(QString, message);

    MainWindow window;
    KoTcpClient* link = window.findChild<KoClientMultUi*>()->Link();
    KoLinkStatusWidget* status = LinkStatus(window);
    QVERIFY(status);
    auto* bar = window.findChild<QStatusBar*>("statusBar");
    QCOMPARE(status->parentWidget(), bar);
    for (const QChar event : events) {
        if (event == 'c')
            emit link->eStateChanged(QAbstractSocket::ConnectedState);
        else if (event == 'g')
            emit link->eStateChanged(QAbstractSocket::ConnectingState);
        else if (event == 'd')
            emit link->eStateChanged(QAbstractSocket::UnconnectedState);
        else if (event == 't')
            emit link->eTargetChanged("10.0.0.7", 5000);
        else if (event == 'u')
            bar->showMessage("unit", 0);
        else {
            QStatusTipEvent tip("tip");
            QCoreApplication::sendEvent(&window, &tip);
        }
    }
    QCOMPARE(status->Text(), shown);
    QCOMPARE(StatusText(window), message);
}

void TstMainWindow::question_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("withResult");
    QTest::addColumn<bool>("expected");

    QTest::newRow("yes") << "yes" << true << true;
    QTest::newRow("no") << "no" << true << false;
    QTest::newRow("escape") << "escape" << true << false;
    QTest::newRow("closed") << "close" << true << false;
    QTest::newRow("yes, nowhere to store") << "yes" << false << false;
    QTest::newRow("no, nowhere to store") << "no" << false << false;
}

void TstMainWindow::question()
{
    QFETCH(QString, answer);
    QFETCH(bool, withResult);
    QFETCH(bool, expected);

    bool shown = false;
    OnMessageBox(this, [&](QMessageBox* box) {
        shown = true;
        QCOMPARE(box->windowTitle(), QString::fromUtf8("Применение настроек"));
        QCOMPARE(box->text(), QString::fromUtf8("Применить? Ёё"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->parent(), nullptr);
        QCOMPARE(box->buttons().size(), 2);
        QAbstractButton* yes = ButtonWithText(box, QString::fromUtf8("Да"));
        QAbstractButton* no = ButtonWithText(box, QString::fromUtf8("Нет"));
        QVERIFY(yes && no);
        QCOMPARE(box->buttonRole(yes), QMessageBox::YesRole);
        if (answer == "yes")
            yes->click();
        else if (answer == "no")
            no->click();
        else if (answer == "escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->close();
    });

    // The answer starts out as the opposite, so a store that did not happen shows.
    bool result = !expected;
    MainWindow::sShowQuestion(L"Применение настроек", L"Применить? Ёё",
                              withResult ? &result : nullptr);
    QVERIFY(shown);
    if (withResult)
        QCOMPARE(result, expected);
    QVERIFY(!QApplication::activeModalWidget());
}

void TstMainWindow::translation()
{
    QTranslator translator;
    QVERIFY2(translator.load("tb_client_ru", VELMORA_BIN_DIR),
             "tb_client_ru.qm beside the program");
    QCoreApplication::installTranslator(&translator);
    MainWindow window;
    QCoreApplication::removeTranslator(&translator);

    QStringList texts{window.windowTitle(), LinkStatus(window)->Text()};
    // The capture entries are not in the translation yet.
    const QList<QAction*> untranslated{window.Captures()->OpenAction(),
                                       window.Captures()->CloseAction(),
                                       window.Captures()->RecordAction()};
    for (const QAction* menu : window.menuBar()->actions()) {
        texts << menu->text();
        for (QAction* action : menu->menu()->actions()) {
            if (!untranslated.contains(action))
                texts << action->text() << action->statusTip();
        }
    }
    auto* tabs = window.findChild<QTabWidget*>("tabWidget");
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    texts.removeAll(QString()); // the system settings entry has no tip

    QCOMPARE(texts.size(), 20);
    const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    for (const QString& text : texts)
        QVERIFY2(text.contains(cyrillic), qPrintable("untranslated: " + text));
}

void TstMainWindow::startUp_data()
{
    QTest::addColumn<bool>("fromBin");
    QTest::addColumn<QString>("translationLine");

    QTest::newRow("from the build folder") << true << "translation loaded from";
    // Started elsewhere, it still finds the translation beside itself.
    QTest::newRow("elsewhere") << false << "translation loaded from " VELMORA_BIN_DIR;
}

void TstMainWindow::startUp()
{
    QFETCH(bool, fromBin);
    QFETCH(QString, translationLine);

    QTemporaryDir program_data;
    QTemporaryDir elsewhere;
    QVERIFY(program_data.isValid() && elsewhere.isValid());

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PROGRAMDATA", program_data.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_LOGGING_RULES", "velmora.app.debug=true");
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(fromBin ? QString(VELMORA_BIN_DIR) : elsewhere.path());
    program.start(QString(VELMORA_BIN_DIR) + "/velmora-configurator", QStringList());
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

    const QString folder = program_data.filePath("Velmora");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(folder).isDir(), 10000);
    // It keeps running until it is closed.
    QVERIFY(!program.waitForFinished(500));
    QCOMPARE(program.state(), QProcess::Running);
    program.terminate();
    if (!program.waitForFinished(5000)) {
        program.kill();
        program.waitForFinished(5000);
    }

    const QString log = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(log.contains(translationLine), qPrintable(log));
    QVERIFY2(log.contains("working directory \"" + folder + "\""), qPrintable(log));
}

VELMORA_REAL_DISPLAY_MAIN(TstMainWindow)
#include "tst_main_window.moc"
