#include "ko_replay_bar.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace {

// A click beside the handle jumps there, as in a media player, instead of
// moving a page.
class JumpSlider : public QSlider
{
public:
    using QSlider::QSlider;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        if (event->button() != Qt::LeftButton || handle.contains(event->pos())) {
            QSlider::mousePressEvent(event);
            return;
        }
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const int x = event->pos().x() - groove.x() - handle.width() / 2;
        setValue(QStyle::sliderValueFromPosition(minimum(), maximum(), x,
                                                 groove.width() - handle.width()));
        event->accept();
    }
};

} // namespace

const double KoReplayBar::Speeds[] = {1, 2, 4, 8, 16};

KoReplayBar::KoReplayBar(KoCapturePlayer* player_, QWidget* parent)
    : QWidget(parent), player(player_)
{
    titleLabel = new QLabel(this);
    titleLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    playButton = new QToolButton(this);
    playButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    slider = new JumpSlider(Qt::Horizontal, this);
    slider->setMinimumWidth(120);
    slider->setToolTip(tr("Position in the capture"));
    timeLabel = new QLabel(this);
    speedCombo = new QComboBox(this);
    speedCombo->setToolTip(tr("Replay speed"));
    for (const double speed : Speeds)
        speedCombo->addItem(tr("%1×").arg(speed), speed);
    endLabel = new QLabel(this);
    endLabel->setWordWrap(true);
    endLabel->hide();
    closeButton = new QPushButton(tr("Close replay"), this);

    // One row, so the doors keep their height in a small window; what is
    // played and from where is the title's tool tip and the window's title.
    titleLabel->hide();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->addWidget(playButton);
    row->addWidget(slider, 1);
    row->addWidget(timeLabel);
    row->addWidget(speedCombo);
    row->addWidget(endLabel, 1);
    row->addWidget(closeButton);

    connect(playButton, &QToolButton::clicked, this, &KoReplayBar::sPlayClicked);
    connect(closeButton, &QPushButton::clicked, this, &KoReplayBar::eCloseClicked);
    connect(speedCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { player->SetSpeed(speedCombo->itemData(index).toDouble()); });
    // A click beside the handle or a key moves it at once; a drag jumps when
    // it is let go.
    connect(slider, &QSlider::valueChanged, this, [this] {
        if (!slider->isSliderDown())
            sSliderMoved();
    });
    connect(slider, &QSlider::sliderReleased, this, &KoReplayBar::sSliderMoved);
    connect(player, &KoCapturePlayer::eStateChanged, this, &KoReplayBar::sStateChanged);
    connect(player, &KoCapturePlayer::ePositionChanged, this, &KoReplayBar::sPositionChanged);
    connect(player, &KoCapturePlayer::eEnded, this, &KoReplayBar::sEnded);
    sStateChanged(player->CurrentState());
}

QString KoReplayBar::TimeText(qint64 time_us)
{
    const qint64 tenths = std::max<qint64>(time_us, 0) / 100000;
    return QStringLiteral("%1:%2.%3")
        .arg(tenths / 600)
        .arg(tenths / 10 % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

void KoReplayBar::ShowCapture(const QString& path)
{
    const KoCaptureHeader& header = player->Header();
    const QString started = QDateTime::fromMSecsSinceEpoch(header.startMs)
                                .toLocalTime()
                                .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    titleLabel->setText(tr("Replay of %1: device %2:%3, recorded %4")
                            .arg(QFileInfo(path).fileName(), header.host)
                            .arg(header.port)
                            .arg(started));
    titleLabel->setToolTip(QFileInfo(path).absoluteFilePath());
    setToolTip(titleLabel->text() + QLatin1Char('\n') + titleLabel->toolTip());
    {
        const QSignalBlocker block(slider);
        slider->setRange(0, int(std::min<qint64>(player->DurationUs() / 1000, INT_MAX)));
        slider->setValue(0);
        slider->setPageStep(std::max(1, slider->maximum() / 10));
    }
    endLabel->clear();
    endLabel->hide();
    sPositionChanged(0);
}

QString KoReplayBar::EndText() const
{
    return endLabel->text();
}

void KoReplayBar::sStateChanged(KoCapturePlayer::State state)
{
    const bool playing = state == KoCapturePlayer::State::Playing;
    playButton->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause
                                                      : QStyle::SP_MediaPlay));
    playButton->setText(playing ? tr("Pause") : tr("Play"));
    if (playing) {
        endLabel->clear();
        endLabel->hide();
    }
}

void KoReplayBar::sPositionChanged(qint64 time_us)
{
    if (!slider->isSliderDown()) {
        const QSignalBlocker block(slider);
        slider->setValue(int(std::min<qint64>(time_us / 1000, slider->maximum())));
    }
    timeLabel->setText(tr("%1 of %2").arg(TimeText(time_us), TimeText(player->DurationUs())));
}

void KoReplayBar::sEnded(KoCaptureReader::Status status)
{
    const QString at = TimeText(std::max<qint64>(player->Reader().LastTimeUs(), 0));
    switch (status) {
    case KoCaptureReader::Status::Truncated:
        endLabel->setText(tr("The capture ends early, at %1: it played up to there.").arg(at));
        break;
    case KoCaptureReader::Status::Damaged:
        endLabel->setText(tr("The capture is damaged at %1: it played up to there.").arg(at));
        break;
    default:
        endLabel->setText(tr("Played to the end."));
        break;
    }
    endLabel->setStyleSheet(status == KoCaptureReader::Status::End
                                ? QString()
                                : QStringLiteral("color: #b71c1c; font-weight: bold"));
    endLabel->show();
}

void KoReplayBar::sPlayClicked()
{
    if (player->CurrentState() == KoCapturePlayer::State::Playing)
        player->Pause();
    else
        player->Play();
}

void KoReplayBar::sSliderMoved()
{
    player->Seek(qint64(slider->value()) * 1000);
}
