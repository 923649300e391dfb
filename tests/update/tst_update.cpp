// Distribution files: the cipher, the CRC, what the reader accepts and
// refuses, and the update widget.

#include "../support/modal_driver.h"
#include "../support/real_display.h"
#include "update/ko_distribution_reader.h"
#include "update/ko_distribution_writer.h"
#include "update/ko_tea.h"
#include "update/ko_updater.h"

#include <QBuffer>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

namespace {

QByteArray sample(KoDistribution::HeaderMode mode)
{
    KoDistributionWriter writer;
    writer.addMember("first", "0123456789abc", mode); // 13 bytes
    writer.addMember("second", QByteArray(20, 'z'), mode);
    return writer.toByteArray();
}

bool readBytes(const QByteArray& bytes, KoDistribution* d = nullptr)
{
    KoDistribution local;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return KoDistributionReader::read(&buffer, d ? d : &local);
}

template <typename T>
void put(QByteArray* bytes, int pos, T value)
{
    char field[sizeof(T)];
    qToLittleEndian(value, field);
    bytes->replace(pos, int(sizeof(T)), field, int(sizeof(T)));
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

private slots:
    void tea();
    void layout();
    void refused_data();
    void refused();
    void updater();
};

// A published TEA vector; a key of four different words pins the key
// schedule too.
void TestUpdate::tea()
{
    const KoTea::Key k{0x01234567, 0x12345678, 0x23456789, 0x3456789A};
    quint32 v[2] = {0x01020304, 0x05060708};
    KoTea::encipherBlock(v, k);
    QCOMPARE((QVector<quint32>{v[0], v[1]}), (QVector<quint32>{0x773dc179, 0x878a81c0}));
    // Buffers hold the words little-endian, first word first.
    char bytes[8];
    qToLittleEndian(v[0], bytes);
    qToLittleEndian(v[1], bytes + 4);
    QVERIFY(KoTea::decipher(bytes, 8, k));
    QCOMPARE(qFromLittleEndian<quint32>(bytes), 0x01020304u);
    QCOMPARE(qFromLittleEndian<quint32>(bytes + 4), 0x05060708u);
    QVERIFY(!KoTea::decipher(bytes, 7, k));
}

void TestUpdate::layout()
{
    QCOMPARE(KoDistribution::crc32(QByteArray("123456789")), 0xCBF43926u);
    KoDistributionWriter empty;
    const QByteArray bare = empty.toByteArray();
    QCOMPARE(bare.left(8), QByteArray("DORVEK-N"));
    QCOMPARE(bare.size(), KoDistribution::fixedHeaderSize);
    KoDistribution d;
    QVERIFY(readBytes(bare, &d));
    QVERIFY(d.members.isEmpty());

    for (auto mode : {KoDistribution::modeClear, KoDistribution::modeEnciphered}) {
        const QByteArray bytes = sample(mode);
        const qint64 start = KoDistribution::dataStart(0, 2);
        QCOMPARE(bytes.size(), start + 16 + 24);
        QVERIFY(readBytes(bytes, &d));
        QCOMPARE(d.members.size(), 2);
        QCOMPARE(d.members[0].dataOffset, quint64(start));
        QCOMPARE(d.members[1].dataOffset, quint64(start + 16));
        QCOMPARE(d.members[0].crc, KoDistribution::crc32(QByteArray("0123456789abc")));
        QCOMPARE(bytes.mid(int(start), 13) == "0123456789abc", mode == KoDistribution::modeClear);
    }
}

void TestUpdate::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const int start = int(KoDistribution::dataStart(0, 2));
    const int record1 = KoDistribution::fixedHeaderSize + KoDistribution::memberRecordSize;
    for (auto mode : {KoDistribution::modeClear, KoDistribution::modeEnciphered}) {
        const QByteArray good = sample(mode);
        const QByteArray tag = mode == KoDistribution::modeClear ? "clear " : "enciphered ";
        const auto row = [&](const char* name, const std::function<void(QByteArray&)>& damage) {
            QByteArray b = good;
            damage(b);
            QTest::newRow((tag + name).constData()) << b;
        };
        row("magic", [](QByteArray& b) { b[0] = 'X'; });
        row("first member's byte", [&](QByteArray& b) { b[start + 3] = char(b[start + 3] ^ 1); });
        row("last member's byte",
            [&](QByteArray& b) { b[start + 35] = char(b[start + 35] ^ 0x80); });
        row("truncated data", [](QByteArray& b) { b.chop(1); });
        row("truncated records", [&](QByteArray& b) { b.truncate(record1 + 10); });
        row("oversized member",
            [&](QByteArray& b) { put<quint32>(&b, record1 + 4 + 2 + 32 + 8, 0xFFFFFFF0u); });
        row("offset beyond",
            [&](QByteArray& b) { put<quint64>(&b, record1 + 4 + 2 + 32, ~quint64(0) - 3); });
        row("member count beyond",
            [](QByteArray& b) { put<qint16>(&b, KoDistribution::fixedHeaderSize - 2, 32767); });
        row("group count beyond",
            [](QByteArray& b) { b[KoDistribution::fixedHeaderSize - 3] = char(200); });
        row("unknown header mode", [&](QByteArray& b) { b[record1 + 4 + 2 + 32 + 8 + 4] = 7; });
    }
}

void TestUpdate::refused()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!readBytes(bytes));
}

void TestUpdate::updater()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sw.pcd");
    KoDistributionWriter writer;
    writer.addMember("rus", "russian config");
    writer.addMember("eng", "english config", KoDistribution::modeEnciphered);
    writer.addMember("none", "");
    QVERIFY(writer.write(path));

    QWidget host;
    auto* updater = new KoUpdater(&host);
    host.show();
    QString chosen = path;
    updater->SetFileChooser(
        [&chosen](QWidget*, const QString&, const QString&, const QString&) { return chosen; });
    QSignalSpy sent(updater, &KoUpdater::eSwUpdate);
    ModalDriver driver; // answers the boxes, which are taken by boxes()
    const auto boxes = [&driver] {
        QStringList texts;
        for (const ModalDriver::Box& box : qAsConst(driver.boxes))
            texts << box.title + ": " + box.text;
        driver.boxes.clear();
        return texts;
    };
    updater->sOpenPath();
    QVERIFY(boxes().isEmpty());
    QCOMPARE(updater->ConfigurationNames(), (QStringList{"rus", "eng", "none"}));
    // Listed with their sizes and CRCs.
    auto* view = updater->findChild<QListView*>("configurations");
    const auto shown = [view](int row) { return view->model()->index(row, 0).data().toString(); };
    const QString crc =
        QString::number(KoDistribution::crc32(QByteArray("english config")), 16).toUpper();
    QCOMPARE(shown(1), "eng (14 bytes, CRC " + crc.rightJustified(8, '0') + ")");
    QCOMPARE(shown(2), QString("none (0 bytes, CRC 00000000)"));
    // An empty configuration is not sent.
    view->setCurrentIndex(view->model()->index(2, 0));
    updater->sOkClicked();
    QCOMPARE(boxes(),
             QStringList{"Warning: The configuration \"none\" is empty (0 bytes) and cannot be "
                         "sent."});
    QCOMPARE(sent.size(), 0);

    // A cancelled file dialog empties what was shown before.
    chosen.clear();
    updater->sOpenPath();
    QCOMPARE(boxes(),
             QStringList{"Warning: Not correct distributive"});
    QVERIFY(updater->ConfigurationNames().isEmpty());
    QVERIFY(updater->findChild<QLineEdit*>("swPath")->text().isEmpty());
    updater->sOkClicked();
    QCOMPARE(sent.size(), 0);
    QVERIFY(host.isVisible());

    chosen = path;
    updater->sOpenPath();
    view->setCurrentIndex(view->model()->index(1, 0));
    // Not sent (no link): the choice stays for another try.
    bool link_up = false;
    updater->SetSender([&link_up](const QByteArray&) { return link_up; });
    updater->sOkClicked();
    QCOMPARE(sent.size(), 0);
    QVERIFY(host.isVisible());
    link_up = true;
    updater->sOkClicked();
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0][0].toByteArray(), QByteArray("english config"));
    QVERIFY(!host.isVisible());
}

VELMORA_REAL_DISPLAY_MAIN(TestUpdate)
#include "tst_update.moc"
