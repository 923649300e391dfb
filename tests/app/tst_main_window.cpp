// The main window: its menus, tabs and status bar, the yes/no question of the
// system-unit controller, every window on the screen in both languages, and
// the program closing within a second.

#include "../support/devsim_process.h"
#include "../support/real_display.h"
#include "ko_algo_service_controll_ui.h"
#include "ko_app_data.h"
#include "ko_client_mult_ui.h"
#include "ko_link_status_widget.h"
#include "ko_menus.h"
#include "ko_tcp_client.h"
#include "ko_translations.h"
#include "main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

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

// Queried after the real translations: every text it is asked for is one
// that nobody translated.
class UntranslatedProbe : public QTranslator
{
public:
    QString translate(const char*, const char* source, const char*, int) const override
    {
        if (source && *source)
            sources.insert(QString::fromUtf8(source));
        return QString();
    }
    bool isEmpty() const override { return false; }

    mutable QSet<QString> sources;
};

// What the operator sees of one window: texts that stayed English, and
// texts wider than the widget that shows them.
class FaceCheck
{
public:
    FaceCheck(const UntranslatedProbe& probe_, bool russian_) : probe(probe_), russian(russian_) {}

    QStringList faults;

    void CheckWindow(QWidget* window)
    {
        const QString where = window->metaObject()->className() + QStringLiteral(" \"") +
                              window->windowTitle() + QStringLiteral("\"");
        CheckText(where, window->windowTitle());
        // Texts changed just now are laid out first, inner layouts before outer.
        for (int pass = 0; pass < 4; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* w : qAsConst(widgets)) {
            if (!w->isVisible() || w->window() != window)
                continue;
            for (const QString& text : Texts(w))
                CheckText(where, text);
            // Data (a long path) may be longer than any field.
            const int need = IsData(Texts(w).value(0)) ? 0 : NeededWidth(w);
            if (need > w->width())
                faults << QStringLiteral("%1: %2 \"%3\" is %4 pixels wide, its text needs %5")
                              .arg(where, w->metaObject()->className(), Texts(w).value(0))
                              .arg(w->width())
                              .arg(need);
        }
        for (const QMenu* menu : window->findChildren<QMenu*>())
            for (const QAction* action : menu->actions())
                CheckText(where, action->text()), CheckText(where, action->statusTip());
    }

private:
    static QStringList Texts(QWidget* w)
    {
        QStringList texts;
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            texts << box->title();
        else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            texts << combo->currentText();
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w))
            texts << edit->placeholderText();
        else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        }
        texts << w->toolTip();
        return texts;
    }

    // The width the widget's text needs to be shown whole, or 0.
    static int NeededWidth(QWidget* w)
    {
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->wordWrap() || label->text().isEmpty() ? 0
                                                                : label->minimumSizeHint().width();
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            // The style's smallest button may be wider than the text needs.
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect contents =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const int text = button->fontMetrics().horizontalAdvance(
                KoMenus::PlainText(button->text()));
            const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            return text + icon + (button->width() - contents.width());
        }
        if (qobject_cast<QCheckBox*>(w) || qobject_cast<QToolButton*>(w) ||
            qobject_cast<QGroupBox*>(w))
            return w->minimumSizeHint().width();
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(
                QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            return combo->fontMetrics().horizontalAdvance(combo->currentText()) +
                   (combo->width() - field.width());
        }
        return 0;
    }

    static bool IsData(const QString& text)
    {
        static const QRegularExpression data(
            QStringLiteral("^(LAN|OK|\\(\\*\\.\\w+\\)|[\\w.\\-\\[\\]:]+:\\d+|.*[/\\\\].*)$"));
        return data.match(text).hasMatch();
    }

    // In Russian, a text nobody translated or English typed into the code.
    // Data, the system unit's own "LAN" and Qt's "OK" read the same in both.
    void CheckText(const QString& where, const QString& shown)
    {
        const QString text = KoMenus::PlainText(shown).trimmed();
        static const QRegularExpression latin(QStringLiteral("[A-Za-z]{2,}"));
        static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
        if (!russian || !text.contains(latin))
            return;
        bool untranslated = false;
        for (const QString& source : probe.sources)
            untranslated = untranslated || (source.contains(latin) && text.contains(source));
        if (untranslated || (!text.contains(cyrillic) && !IsData(text)))
            faults << QStringLiteral("%1: English text \"%2\"").arg(where, text);
    }

    const UntranslatedProbe& probe;
    const bool russian;
};

// Checks every window that comes up while the test runs (modal or not),
// presses the buttons that open pickers in it (tool buttons and buttons
// without text: a calendar, a file chooser), and closes it.
class WindowWalker : public QObject
{
public:
    explicit WindowWalker(FaceCheck& check_) : check(check_)
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QDialog*>(top);
                if (!dialog || !dialog->isVisible() || dialog->property("walked").toBool())
                    continue;
                dialog->setProperty("walked", true);
                // Out of the timer's slot: a picker's own loop must still
                // be walked.
                QTimer::singleShot(0, dialog, [this, dialog] { walk(dialog); });
            }
        });
        timer.start(20);
    }

    QStringList seen;

    // Runs open and waits until every window it brought up is closed.
    void Through(const std::function<void()>& open)
    {
        open();
        QTest::qWait(300); // a window shown without a loop of its own comes up by now
        const auto shown = [] {
            const QWidgetList tops = QApplication::topLevelWidgets();
            return std::any_of(tops.begin(), tops.end(), [](QWidget* top) {
                return qobject_cast<QDialog*>(top) && top->isVisible();
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(!shown(), 10000);
    }

private:
    void walk(QDialog* dialog)
    {
        if (!QTest::qWaitForWindowExposed(dialog))
            check.faults << QStringLiteral("%1 was not shown").arg(dialog->windowTitle());
        seen << dialog->metaObject()->className();
        check.CheckWindow(dialog);
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            // The program's own pickers, not the buttons inside Qt's widgets
            // (a calendar's month menu).
            const bool picker = (qobject_cast<QToolButton*>(button) || button->text().isEmpty()) &&
                                !button->objectName().startsWith(QLatin1String("qt_"));
            // Qt's own dialogs are only looked at: their buttons make folders.
            if (picker && button->isVisible() && button->isEnabled() &&
                button->window() == dialog && !dialog->inherits("QFileDialog") &&
                !qobject_cast<QMessageBox*>(dialog))
                button->click();
        }
        dialog->reject();
    }

    FaceCheck& check;
    QTimer timer;
};

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layout();
    void menuEntries_data();
    void menuEntries();
    void statusBar();
    void question_data();
    void question();
    void everyWindow_data();
    void everyWindow();
    void startUp();
};

void TstMainWindow::initTestCase()
{
    Q_INIT_RESOURCE(resources);
    // Every run starts as the first start: no kept geometry or tab.
    QFile::remove(KoAppData::IniPath());
}

void TstMainWindow::menuEntries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("texts"); // as shown, each with its accelerator

    QTest::newRow("File") << "menuFile"
                          << "&Open capture…|&Close capture||&Record capture…||&Address book…||"
                             "&Save configuration…|A&pply configuration…||C&lose";
    QTest::newRow("Tools") << "menuTools"
                           << QString::fromUtf8("&Lan options…|&Modem settings…|&Server settings…|"
                                                "&Update…|&Reboot…|&Validate doors…|"
                                                "&Системные настройки…");
}

void TstMainWindow::menuEntries()
{
    QFETCH(QString, menu);
    QFETCH(QString, texts);

    MainWindow window;
    const QList<QAction*> actions = window.findChild<QMenu*>(menu)->actions();
    QStringList shown;
    for (const QAction* action : actions)
        shown << action->text();
    QCOMPARE(shown.join('|'), texts);
    if (menu == "menuFile")
        QCOMPARE(actions.last()->shortcut(), QKeySequence(QKeySequence::Quit));
    // A taken first letter gives way to the next word's start, not the next letter.
    QAction open("Open"), file("Open file");
    KoMenus::AssignAccelerators({&open, &file});
    QCOMPARE(file.text(), QString("Open &file"));
}

void TstMainWindow::layout()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QString("Velmora Configurator"));
    QStringList menus; // as the menus name them: no accelerator
    for (const QAction* action : window.menuBar()->actions())
        menus << KoMenus::PlainText(action->text());
    QCOMPARE(menus, (QStringList{"File", "Tools"}));
    // The form's own actions stay out of sight.
    QVERIFY(window.actions().isEmpty());

    auto* tabs = window.findChild<QTabWidget*>("tabWidget");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->currentIndex(), 0);

    // File > Close closes the window, which the next start opens as it was left.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(1100, 700);
    tabs->setCurrentIndex(2);
    window.findChild<QMenu*>("menuFile")->actions().last()->trigger();
    QVERIFY(!window.isVisible());
    {
        MainWindow next;
        QCOMPARE(next.findChild<QTabWidget*>("tabWidget")->currentIndex(), 2);
        QCOMPARE(next.size(), QSize(1100, 700));
    }
    QFile::remove(KoAppData::IniPath());
}

// Connected and lost on a real link: tst_fault.
void TstMainWindow::statusBar()
{
    MainWindow window;
    KoTcpClient* link = window.findChild<KoClientMultUi*>()->Link();
    auto* bar = window.findChild<QStatusBar*>("statusBar");
    auto* status = bar->findChild<KoLinkStatusWidget*>("linkStatus");
    emit link->eTargetChanged("10.0.0.7", 5000);
    emit link->eStateChanged(QAbstractSocket::ConnectingState);
    QCOMPARE(status->Text(), QString("Connecting... 10.0.0.7:5000"));
    // The system unit's own text shows beside the link's state, not in its place.
    bar->showMessage("unit", 0);
    emit link->eStateChanged(QAbstractSocket::UnconnectedState);
    QCOMPARE(status->Text() + "|" + bar->currentMessage(),
             QString("Disconnected 10.0.0.7:5000|unit"));
}

void TstMainWindow::question_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("withResult");
    QTest::addColumn<bool>("expected");

    QTest::newRow("yes") << "yes" << true << true;
    QTest::newRow("closed") << "close" << true << false;
    QTest::newRow("yes, nowhere to store") << "yes" << false << false;
}

void TstMainWindow::question()
{
    QFETCH(QString, answer);
    QFETCH(bool, withResult);
    QFETCH(bool, expected);

    bool shown = false;
    OnMessageBox(this, [&](QMessageBox* box) {
        shown = true;
        QCOMPARE(box->windowTitle() + "|" + box->text(),
                 QString::fromUtf8("Применение настроек|Применить? Ёё"));
        QCOMPARE(box->buttons().size(), 2);
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        QCOMPARE(yes->text() + box->button(QMessageBox::No)->text(), QString::fromUtf8("ДаНет"));
        if (answer == "yes")
            yes->click();
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
}

void TstMainWindow::everyWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("russian");
    QTest::addColumn<bool>("device"); // a simulator streams four doors throughout
    QTest::newRow("1024x640") << QSize(1024, 640) << true << false;
    QTest::newRow("1920x1080") << QSize(1920, 1080) << true << false;
    // English texts are longer in places; they must fit as well.
    QTest::newRow("English, 1024x640") << QSize(1024, 640) << false << false;
    // Every window opened while pictures stream, forms filled from the device.
    QTest::newRow("a device, 1024x640") << QSize(1024, 640) << true << true;
}

// Every window, in Russian and in English: the main window's tabs, whatever their buttons and
// the menus open (windows added later too), and the pickers those open in turn.
void TstMainWindow::everyWindow()
{
    QFETCH(QSize, size);
    QFETCH(bool, russian);
    QFETCH(bool, device);

    DevsimProcess sim;
    const QString network = KoAppData::Folder() + QStringLiteral("network.txt");
    if (device)
        QVERIFY(sim.start({QStringLiteral("--passes"), QStringLiteral("4")}) &&
                sim.writeNetworkFile(KoAppData::Folder()));
    const auto forget_device = qScopeGuard([&network] { QFile::remove(network); });

    UntranslatedProbe probe;
    QCoreApplication::installTranslator(&probe);
    KoTranslations translations;
    QCOMPARE(translations.Load({russian ? QString(VELMORA_BIN_DIR) : QString()}), russian);
    QVERIFY2(!russian || !translations.QtFolder().isEmpty(),
             "qtbase_ru.qm from qttranslations5-l10n");
    FaceCheck check(probe, russian);
    WindowWalker walker(check);

    auto owner = std::make_unique<MainWindow>();
    MainWindow& window = *owner;
    window.resize(size);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), size);
    if (device) {
        const quint64 shown = KoAlgoServiceControllUI::PicturesShown();
        QTRY_VERIFY_WITH_TIMEOUT(KoAlgoServiceControllUI::PicturesShown() > shown + 8, 10000);
    }
    auto* tabs = window.findChild<QTabWidget*>("tabWidget");
    for (int t = 0; t < tabs->count(); ++t) {
        tabs->setCurrentIndex(t);
        QCoreApplication::processEvents();
        check.CheckWindow(&window);
        // The four doors fit without scrolling.
        QList<QScrollArea*> areas = tabs->widget(t)->findChildren<QScrollArea*>(
            QString(), Qt::FindDirectChildrenOnly);
        areas << qobject_cast<QScrollArea*>(tabs->widget(t));
        for (const QScrollArea* area : qAsConst(areas))
            QVERIFY(!area || (!area->horizontalScrollBar()->isVisible() &&
                              !area->verticalScrollBar()->isVisible()));
        for (QAbstractButton* button : tabs->widget(t)->findChildren<QAbstractButton*>()) {
            if (button->isVisible() && button->isEnabled())
                walker.Through([button] { button->click(); });
        }
    }
    for (QAction* title : window.menuBar()->actions()) {
        for (QAction* action : title->menu()->actions()) {
            if (action->shortcut() != QKeySequence(QKeySequence::Quit))
                walker.Through([action] { action->trigger(); });
        }
    }
    // A door's Options waits for the link; the window opens its dialog all the same.
    walker.Through([&window] { window.sOptionsReq(0); });
    tabs->setCurrentIndex(0);

    QVERIFY2(check.faults.isEmpty(), qPrintable(check.faults.join(QLatin1Char('\n'))));
    // The walk reached every kind of window, Qt's own included.
    for (const char* kind :
         {"NetworkSettingDialog", "ModemDialog", "ChangeIPDialog", "SwUpdateDialog", "RebootDialog",
          "OptionsDialog", "KoValidationWindow", "BlockSysSettingsForm", "CalendarForm",
          "QFileDialog", "QMessageBox", "KoAddressBookWindow"})
        QVERIFY2(walker.seen.contains(QLatin1String(kind)), kind);

    // Closing the program ends its link and reader at once, a device
    // streaming or not: a wait on a thread or a device would show here.
    QElapsedTimer closing;
    closing.start();
    window.close();
    owner.reset();
    QVERIFY2(closing.elapsed() < 1000, qPrintable(QString::number(closing.elapsed())));
}

// The program itself on this X server, against a simulator, asked to stop.
void TstMainWindow::startUp()
{
    QTemporaryDir program_data;
    DevsimProcess sim;
    QVERIFY(sim.start());
    QVERIFY(QDir(program_data.path()).mkpath(QStringLiteral("Velmora")));
    QVERIFY(sim.writeNetworkFile(program_data.filePath(QStringLiteral("Velmora/"))));

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PROGRAMDATA", program_data.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(VELMORA_BIN_DIR);
    program.start(QString(VELMORA_BIN_DIR) + "/velmora-configurator", QStringList());
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

    QVERIFY(sim.waitForOutput(QStringLiteral("connection from"), 10000));
    QVERIFY(!program.waitForFinished(500)); // it keeps running until it is closed
    // Asked to stop (a logout, Ctrl+C), it closes as its window does: at
    // once, and cleanly rather than killed.
    program.terminate();
    QVERIFY2(program.waitForFinished(1000), "still running a second after SIGTERM");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

VELMORA_REAL_DISPLAY_MAIN(TstMainWindow)
#include "tst_main_window.moc"
