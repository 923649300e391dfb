// The system unit as the operator meets it: the real main window on a real X
// server against the device simulator, from Tools → "Системные настройки" to
// the device rebooted on its new port, and the window closed at any step.

#include "../support/devsim_process.h"
#include "../support/modal_driver.h"
#include "../support/real_display.h"
#include "block_sys_settings_form.h"
#include "ko_menus.h"
#include "ko_app_data.h"
#include "ko_tcp_client.h"
#include "main_window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpServer>
#include <QTimeEdit>
#include <QtTest>

namespace {

QStringList lines(const char* name)
{
    QFile f(KoAppData::Folder() + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TstCntsysDevsim : public QObject
{
    Q_OBJECT

private slots:
    void operatorFlow_data();
    void operatorFlow();
};

void TstCntsysDevsim::operatorFlow_data()
{
    // The status text at which the window is closed; none: the whole apply.
    QTest::addColumn<QString>("closeAt");
    QTest::newRow("whole apply") << "";
    QTest::newRow("close while reading") << "Получение параметров";
    QTest::newRow("close while setting the server") << "Установка параметров сервера";
    QTest::newRow("close while awaiting pictures") << "Дата и время установлены";
}

void TstCntsysDevsim::operatorFlow()
{
    QFETCH(QString, closeAt);
    DevsimProcess sim;
    QVERIFY(sim.start({"--reboot-delay", "0", "--passes", "1", "--size", "64x48"}));
    QVERIFY(sim.writeNetworkFile(KoAppData::Folder()));
    QFile::remove(KoAppData::Folder() + "block_net.txt"); // a first start
    const int logged = lines("Log.txt").size();
    QTcpServer free;
    QVERIFY(free.listen(QHostAddress::LocalHost));
    const quint16 newPort = free.serverPort();
    free.close();

    QPointer<MainWindow> window = new MainWindow;
    const auto closeAnyway = qScopeGuard([&] { delete window; });
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto* link = window->findChild<KoTcpClient*>();
    QTRY_VERIFY_WITH_TIMEOUT(link->TestConnected(), 10000);
    // The operator closes the window when the status bar says closeAt.
    QStringList texts;
    connect(window->statusBar(), &QStatusBar::messageChanged, window, [&](const QString& text) {
        texts << text;
        if (!closeAt.isEmpty() && text == closeAt)
            QTimer::singleShot(0, this, [&] { delete window; });
    });
    ModalDriver driver; // answers the question with its first button, "Да"

    QAction* entry = window->findChild<QMenu*>("menuTools")->actions().last();
    QCOMPARE(KoMenus::PlainText(entry->text()), QString("Системные настройки"));
    entry->trigger();
    QPointer<BlockSysSettingsForm> form = window->findChild<BlockSysSettingsForm*>();
    QVERIFY(form && form->isVisible());
    if (closeAt == "Получение параметров") {
        QTRY_VERIFY(!window);
        return;
    }

    // Filled from the unit within a few seconds, and the unit's clock ticks.
    auto* port = form->findChild<QLineEdit*>("LANPortEdit");
    QTRY_COMPARE_WITH_TIMEOUT(port->text(), QString::number(sim.port()), 5000);
    QStringList shown;
    for (const char* name :
         {"LANIPEdit", "LANMaskEdit", "LANGateEdit", "LANDNSEdit", "SrvIPEdit", "SrvPortEdit"})
        shown << form->findChild<QLineEdit*>(name)->text();
    QCOMPARE(shown, QStringList({"127.0.0.1", "255.0.0.0", "127.0.0.1", "127.0.0.53", "127.0.0.1",
                                 "9000"}));
    QCOMPARE(form->findChild<QComboBox*>("TimeZoneCombo")->currentText(), QString("UTC+3 Москва"));
    auto* time = form->findChild<QTimeEdit*>("TimeEdit");
    const QTime first = time->time();
    QTRY_VERIFY_WITH_TIMEOUT(time->time() != first, 5000);

    // A date, a time and a new port typed, and applied.
    form->findChild<QDateEdit*>("DateEdit")->setDate(QDate(2030, 1, 2));
    time->setTime(QTime(12, 0));
    port->setText(QString::number(newPort));
    QTest::mouseClick(form->findChild<QPushButton*>("ApplyBtn"), Qt::LeftButton);
    QTRY_VERIFY(!form); // closed and gone
    if (!closeAt.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(!window, 10000);
        // Nothing of the apply goes on: no reboot comes after the window.
        QTest::qWait(300);
        QVERIFY(!sim.output().join('\n').contains("39: reboot"));
        return;
    }

    // LAN, server, time, pictures, reboot, and the link follows the device.
    QTRY_VERIFY_WITH_TIMEOUT(link->Port() == newPort && link->TestConnected(), 15000);
    // Asked once; the device's reboot acknowledgement is the apply's own,
    // not the Reboot command's, so it has no box of its own.
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].title, QString("Применение настроек"));
    QCOMPARE(driver.boxes[0].text, QString("Применить введенные настройки? Устройство будет "
                                           "перезагружено автоматически"));
    QCOMPARE(texts.filter(QRegularExpression("[а-я]")),
             QStringList({"Получение параметров", "Параметры получены", "Установка параметров LAN",
                          "Параметры LAN установлены", "Установка параметров сервера",
                          "Параметры сервера установлены", "Установка даты и времени",
                          "Дата и время установлены"}));
    // 12:00 at UTC+3, as typed, reaches the unit as 09:00 UTC.
    for (const QString& done :
         {QString("set LAN 127.0.0.1:%1").arg(newPort), QString("set server 127.0.0.1:9000"),
          QString("set time 2030-01-02T09:00:00Z UTC, zone +3"), QString("39: reboot"),
          QString("listening on 127.0.0.1:%1").arg(newPort)})
        QVERIFY2(sim.waitForOutput(done), qPrintable(done));
    QCOMPARE(lines("network.txt"),
             QStringList({"HOST_NAME = 127.0.0.1;\r", QString("PORT = %1;\r").arg(newPort)}));
    const QStringList log = lines("Log.txt");
    QCOMPARE(log.size(), logged + 1);
    QVERIFY2(log.last().endsWith(
                 QString("      127.0.0.1:%1 -> 127.0.0.1:%2").arg(sim.port()).arg(newPort)),
             qPrintable(log.last()));
}

VELMORA_REAL_DISPLAY_MAIN(TstCntsysDevsim)
#include "tst_cntsys_devsim.moc"
