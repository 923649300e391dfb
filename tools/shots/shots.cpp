// Builds the main window against the device named in network.txt of the data
// folder ($PROGRAMDATA), switches through its tabs and Tools dialogs and saves
// each view as a PNG file into the folder given on the command line. With a
// window size and a suffix it saves only the tabs, as NAME-SUFFIX.png (the
// dialogs are the same at any window size).
//   QT_QPA_PLATFORM=offscreen velmora-shots docs/images [1920x1080 large]

#include "ko_menus.h"
#include "ko_translations.h"
#include "ko_validation_window.h"
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

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
    // The offscreen platform's own resolution makes every text larger than
    // on the operator's 96 dpi screen.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    // Nor does it know the desktop's font: the X11 desktop's default, as the
    // program shows it there.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));
    const QStringList args = QCoreApplication::arguments();
    QSize size(1024, 640); // the smallest window the doors are laid out for
    QString suffix;
    if (args.size() == 4) {
        const QStringList wh = args.at(2).split(QLatin1Char('x'));
        size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        suffix = QLatin1Char('-') + args.at(3);
    }
    if ((args.size() != 2 && args.size() != 4) || size.isEmpty()) {
        err << "usage: velmora-shots FOLDER [WIDTHxHEIGHT SUFFIX]\n";
        return 2;
    }
    output = QDir(QDir(args.at(1)).absolutePath());

    // The texts the installed program shows, Qt's own included.
    KoTranslations translations;
    translations.Load({QCoreApplication::applicationDirPath()});

    MainWindow window;
    window.resize(size);
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
        ok = Save(&window, tab_names[i] + suffix) && ok;
    }
    if (tabs)
        tabs->setCurrentIndex(0);
    if (!suffix.isEmpty())
        return ok ? 0 : 1;

    auto* tools = window.findChild<QMenu*>(QStringLiteral("menuTools"));
    const QList<QAction*> actions = tools ? tools->actions() : QList<QAction*>();
    if (actions.isEmpty())
        err << "no Tools menu\n";
    // By the entries' own words: entries added later keep the names right.
    const QMap<QString, QString> dialog_names = {
        {QStringLiteral("Lan options"), QStringLiteral("lan-options")},
        {QStringLiteral("Modem settings"), QStringLiteral("modem")},
        {QStringLiteral("Server settings"), QStringLiteral("server")},
        {QStringLiteral("Update"), QStringLiteral("update")},
        {QStringLiteral("Reboot"), QStringLiteral("reboot")},
        {QStringLiteral("Системные настройки"), QStringLiteral("system-unit")}};
    for (QAction* action : actions) {
        QString name;
        for (auto it = dialog_names.cbegin(); it != dialog_names.cend(); ++it) {
            if (KoMenus::PlainText(action->text()) ==
                QCoreApplication::translate("MainWindow", it.key().toUtf8().constData()))
                name = it.value();
        }
        if (name.isEmpty())
            continue;
        // The system unit's form reads the unit first.
        // An entry without its dialog yet is reported, not fatal.
        ShootDialog(action, name, name == QLatin1String("system-unit") ? 3000 : 800);
        Wait(300);
    }

    // The door validation after three samples, counted here as a technician
    // who misses a person now and then; its report's first page is left in
    // the folder as validation-report.pdf for the script to draw.
    window.sValidationWindow();
    if (auto* validation = window.findChild<KoValidationWindow*>()) {
        validation->resize(1000, 640);
        validation->findChild<QLineEdit*>(QStringLiteral("operatorEdit"))->setText(QStringLiteral("Иванов И. И."));
        validation->findChild<QLineEdit*>(QStringLiteral("vehicleEdit"))->setText(QStringLiteral("Tram 17"));
        validation->sStart();
        int counted = 0;
        int seen[4][2] = {};
        for (int sample = 0; sample < 3; ++sample) {
            for (int step = 0; step < 12; ++step) {
                Wait(500);
                const KoValidationSession::Sample total = validation->Session().Total();
                for (int d = 0; d < validation->Session().Doors(); ++d) {
                    for (int dir = 0; dir < 2; ++dir) {
                        for (; seen[d][dir] < total.Device(d, dir); ++seen[d][dir]) {
                            if (++counted % 9 != 0)
                                validation->sHand(d, dir);
                        }
                    }
                }
            }
            validation->sMarkSample();
        }
        validation->sStop();
        Wait(300);
        ok = Save(validation, QStringLiteral("validation")) && ok;
        validation->SetFileChooser([](const QString&, const QString&, const QString&) {
            return output.filePath(QStringLiteral("validation-report.pdf"));
        });
        validation->sSaveReport();
        QFile::remove(output.filePath(QStringLiteral("validation-report.csv")));
    }
    return ok ? 0 : 1;
}
