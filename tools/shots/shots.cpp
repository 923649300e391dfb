// Builds the main window against the device named in network.txt of the data
// folder ($PROGRAMDATA), switches through its tabs and Tools dialogs and saves
// each view as a PNG file into the folder given on the command line.
//   QT_QPA_PLATFORM=offscreen velmora-shots docs/images

#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

namespace {

QDir output;
QTextStream err(stderr);

// Lets the window work (pictures, answers) for a while.
void Wait(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool Save(QWidget* widget, const QString& name)
{
    const QString path = output.filePath(name + QStringLiteral(".png"));
    const bool saved = widget->grab().toImage().save(path, "PNG", 9);
    err << (saved ? "saved " : "cannot write ") << path << '\n';
    return saved;
}

// Triggers a Tools entry whose dialog is modal, saves the dialog once it
// is up and closes it.
bool ShootDialog(QAction* action, const QString& name, int wait_ms)
{
    bool saved = false;
    // Stopped with this function, in case the entry opened nothing.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            saved = Save(dialog, name);
            dialog->close();
        }
    });
    timer.start(wait_ms);
    action->trigger();
    // A form shown without a loop of its own (the system unit's) returns at once.
    while (timer.isActive())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!saved)
        err << "no dialog for " << name << '\n';
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(resources);
    QApplication app(argc, argv);
    if (argc != 2) {
        err << "usage: velmora-shots FOLDER\n";
        return 2;
    }
    output = QDir(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());

    // The texts the installed program shows.
    QTranslator translator;
    if (translator.load(QStringLiteral("tb_client_ru"), QCoreApplication::applicationDirPath()))
        app.installTranslator(&translator);

    MainWindow window;
    window.resize(1033, 647);
    window.show();
    Wait(4000);

    bool ok = true;
    auto* tabs = window.findChild<QTabWidget*>();
    const QStringList tab_names = {QStringLiteral("video"), QStringLiteral("statistics"),
                                   QStringLiteral("reports")};
    for (int i = 0; tabs && i < tabs->count() && i < tab_names.size(); ++i) {
        tabs->setCurrentIndex(i);
        // The statistics page asks for the year shown ("Year report").
        if (i == 1) {
            const QList<QPushButton*> buttons = tabs->widget(i)->findChildren<QPushButton*>();
            if (!buttons.isEmpty())
                buttons.first()->click();
        }
        Wait(1500);
        ok = Save(&window, tab_names[i]) && ok;
    }
    if (tabs)
        tabs->setCurrentIndex(0);

    auto* tools = window.findChild<QMenu*>(QStringLiteral("menuTools"));
    const QStringList dialog_names = {QStringLiteral("lan-options"), QStringLiteral("modem"),
                                      QStringLiteral("server"),      QStringLiteral("update"),
                                      QStringLiteral("reboot"),      QStringLiteral("system-unit")};
    const QList<QAction*> actions = tools ? tools->actions() : QList<QAction*>();
    if (actions.isEmpty())
        err << "no Tools menu\n";
    for (int i = 0; i < actions.size() && i < dialog_names.size(); ++i) {
        // The system unit's form reads the unit first.
        // An entry without its dialog yet is reported, not fatal.
        ShootDialog(actions[i], dialog_names[i], i == 5 ? 3000 : 800);
        Wait(300);
    }
    return ok ? 0 : 1;
}
