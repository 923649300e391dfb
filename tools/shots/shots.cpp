// Builds the main window against the device named in network.txt of the data
// folder ($PROGRAMDATA), switches through its tabs and Tools dialogs and saves
// each view as a PNG file into the folder given on the command line. With a
// window size and a suffix it saves only the tabs, as NAME-SUFFIX.png (the
// dialogs are the same at any window size).
// With "fleet" it saves the address book and the configuration windows
// instead, with a book of three devices, the simulator's among them.
//   QT_QPA_PLATFORM=offscreen velmora-shots docs/images [1920x1080 large | fleet]

#include "fleet/ko_address_book_window.h"
#include "fleet/ko_apply_dialog.h"
#include "fleet/ko_device_editor.h"
#include "fleet/ko_device_state.h"
#include "fleet/ko_fleet.h"
#include "ko_menus.h"
#include "ko_network_settings.h"
#include "ko_tcp_client.h"
#include "ko_translations.h"
#include "ko_validation_window.h"
#include "main_window.h"
#include "network_setting_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
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

// Shows a window of its own, lets it settle and saves it.
bool ShootWindow(QWidget* window, const QString& name)
{
    window->show();
    Wait(500);
    const bool saved = Save(window, name);
    window->close();
    return saved;
}

// The address book, a device in it, "Lan options" offering a new address to
// the book, and a configuration of the simulator with two changes, before
// and after it is applied.
bool ShootFleet(MainWindow& window)
{
    auto* fleet = window.findChild<KoFleet*>();
    KoTcpClient* link = fleet->Link();
    KoAddressBook book;
    const auto add = [&book](const QString& name, const QString& vehicle, int doors,
                             const QString& host, quint16 port, const QString& notes, int days) {
        KoFleetDevice d{name, vehicle, doors, host, port, notes, QDateTime(), QString()};
        if (days >= 0)
            d.lastConnected = QDateTime::currentDateTimeUtc().addDays(-days);
        book.devices << d;
    };
    add(QStringLiteral("Автобус 12, депо \"Южное\""), QStringLiteral("А123ВС 77"), 0,
        link->HostName(), link->Port(), QStringLiteral("Образец для всего парка"), -1);
    add(QStringLiteral("Автобус 14"), QStringLiteral("В456ОР 77"), 3, QStringLiteral("10.20.1.14"),
        4567, QString(), 2);
    add(QStringLiteral("Трамвай 7"), QStringLiteral("7"), 4, QStringLiteral("tram-7.depot"), 4600,
        QStringLiteral("Камера над дверью 4 заменена"), 30);
    fleet->SetBook(book);
    Wait(1000);

    bool ok = true;
    auto* book_window = new KoAddressBookWindow(&window, fleet);
    book_window->findChild<QTableWidget*>()->selectRow(0);
    // As on a screen of 1024 x 640, not the offscreen platform's 800 x 600.
    book_window->resize(920, 400);
    ok = ShootWindow(book_window, QStringLiteral("address-book")) && ok;
    delete book_window;

    auto* editor = new KoDeviceEditor(&window, fleet->Book().devices.value(0),
                                      [](const QString&, quint16) { return QString(); });
    ok = ShootWindow(editor, QStringLiteral("device-editor")) && ok;
    delete editor;

    auto* lan = new NetworkSettingDialog(&window);
    lan->Content()->OfferBook([fleet](const QString& host, quint16 port) {
        return fleet->Book().IndexOf(host, port) >= 0;
    });
    lan->Content()->hostEdit->setText(QStringLiteral("10.20.1.15"));
    lan->Content()->addToBook->setChecked(true);
    ok = ShootWindow(lan, QStringLiteral("lan-options-book")) && ok;
    delete lan;

    KoConfigProfile profile = fleet->Profile();
    profile.sourceName = QStringLiteral("Автобус 14");
    for (KoConfigProfile::Door& door : profile.doors) {
        door.mount.camMountHeight = 245;
        door.mount.camAngleSlope = 12;
        if (door.pass == 1 && door.line.line.size() > 1)
            door.line.line[1].ry() = 0.6;
    }
    auto* apply = new KoApplyDialog(&window, fleet, profile, QStringLiteral("avtobus14.json"));
    apply->resize(920, 576);
    apply->show();
    Wait(500);
    ok = Save(apply, QStringLiteral("apply-configuration")) && ok;
    apply->findChild<QPushButton*>(QStringLiteral("apply"))->click();
    Wait(3000);
    ok = Save(apply, QStringLiteral("apply-configuration-done")) && ok;
    apply->close();
    delete apply;
    return ok;
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
    const bool fleet = args.size() == 3 && args.at(2) == QLatin1String("fleet");
    if (args.size() == 4) {
        const QStringList wh = args.at(2).split(QLatin1Char('x'));
        size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        suffix = QLatin1Char('-') + args.at(3);
    }
    if ((args.size() != 2 && args.size() != 4 && !fleet) || size.isEmpty()) {
        err << "usage: velmora-shots FOLDER [WIDTHxHEIGHT SUFFIX | fleet]\n";
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

    if (fleet)
        return ShootFleet(window) ? 0 : 1;

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
