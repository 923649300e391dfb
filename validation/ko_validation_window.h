#pragma once

#include "ko_validation_session.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <array>
#include <functional>

class KoTcpClient;
class QDoubleSpinBox;
class QGraphicsScene;
class QGraphicsView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;

// Commissioning the doors: for each door the device has, its live picture,
// the device's counts and the hand counts (big buttons, or the keys 1 to 4
// for in and Q, W, E, R for out; Backspace takes the last one back), in
// samples closed with "Mark sample"; the figures per door, direction and in
// total against a tolerance; the report as PDF and CSV.
class KoValidationWindow : public QDialog
{
    Q_OBJECT

public:
    // Asks for a file to write: title, proposed path, filter; empty when
    // the operator cancels.
    using FileChooser = std::function<QString(const QString&, const QString&, const QString&)>;

    explicit KoValidationWindow(KoTcpClient* link, QWidget* parent = nullptr);

    // The scene of a door's live panel: its picture, marks, line and zone.
    void SetDoorScene(int door, QGraphicsScene* scene);
    void SetFileChooser(FileChooser chooser) { chooseFile = std::move(chooser); }

    const KoValidationSession& Session() const { return session; }
    double Tolerance() const; // as a share, 0.05 for 5 %
    // The picture of a door as the report shows it; null without a scene.
    QImage Snapshot(int door) const;
    // The door and direction a key counts (-1, -1 for none): 1 to 4 in,
    // Q, W, E, R out, on a Latin or a Russian keyboard layout.
    static QPair<int, int> KeyDoor(int key);

public slots:
    void sPassCnt(int pass_cnt);
    void sStart(); // starts, or resumes a paused session
    void sPause();
    void sStop();
    void sMarkSample();
    void sUndo();
    void sHand(int door, int direction);
    void sSaveReport();
    void sSnapshot(int door);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct DoorWidgets
    {
        QGroupBox* box = nullptr;
        QLineEdit* label = nullptr;
        QGraphicsView* view = nullptr;
        QToolButton* snapshot = nullptr;
        // The counts since the start: [0] the device's, [1] by hand; in, out.
        std::array<std::array<QLabel*, 2>, 2> counts{};
        std::array<QPushButton*, 2> count{};
        QGraphicsScene* scene = nullptr;
    };

    void DeviceCounts(int door, int in_cnt, int out_cnt);
    void Changed(); // the figures are shown again soon
    void Refresh();
    void UpdateControls();
    void Say(const QString& text);
    QString Address() const;
    QString ChooseFile(const QString& title, const QString& start, const QString& filter);

    KoTcpClient* link = nullptr;
    KoValidationSession session;
    int passCount = -1; // not known before the device answers
    bool saved = true;  // the stopped session's report is written
    std::array<DoorWidgets, KoValidationSession::MaxDoors> doors;
    QLineEdit* operatorEdit = nullptr;
    QLineEdit* vehicleEdit = nullptr;
    QDoubleSpinBox* toleranceSpin = nullptr;
    QLabel* addressLabel = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* pauseButton = nullptr;
    QPushButton* stopButton = nullptr;
    QPushButton* markButton = nullptr;
    QPushButton* undoButton = nullptr;
    QPushButton* saveButton = nullptr;
    QLabel* stateLabel = nullptr;
    QLabel* verdictLabel = nullptr;
    QLabel* messageLabel = nullptr;
    QTableWidget* figuresTable = nullptr;
    QTableWidget* samplesTable = nullptr;
    QTimer refreshTimer;
    FileChooser chooseFile;
};
