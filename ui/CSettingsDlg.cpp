#include "ui/CSettingsDlg.h"

#include "res/dialog133.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <type_traits>

namespace {

// A time field: the digits of one number, nothing else (no sign, no spaces, no separators).
class CNumberSpinBox final : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override {
        for (const QChar c : input) {
            if (c < u'0' || c > u'9') {
                return QValidator::Invalid;
            }
        }
        return QSpinBox::validate(input, pos);
    }
};

// A radio button that stays a tab stop. Qt's focus-in takes the tab stop from the other buttons
// of an exclusive group, so Tab would reach only the checked one (or, before any click, none).
class CTabStopRadioButton final : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void focusInEvent(QFocusEvent* event) override { QWidget::focusInEvent(event); }
};

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
    const std::int64_t product = std::int64_t{a} * b;
    const std::int64_t half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

// A time field takes the low 16 bits of a stored value, read as a signed number, and shows it at
// the nearest end of its range when outside. The clamp is ours: a wrapping spin box would
// otherwise carry a value below its range round to the top.
void SetTimeField(QSpinBox* spin, std::int32_t value) {
    const int low = static_cast<std::int16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
    spin->setValue(std::clamp(low, spin->minimum(), spin->maximum()));
}

// Slider positions run from 1 (top, volume 100) to 100 (bottom, volume 1). A stored volume
// outside 1..100 goes to the nearest end; wide arithmetic keeps any stored value from overflowing.
int VolumeToPosition(std::int32_t volume) {
    return static_cast<int>(std::clamp<std::int64_t>(101 - std::int64_t{volume}, 1, 100));
}

// Fallback faces run a little wider than the template's own, and English texts longer than the
// Japanese: a text control too small for its text grows to the right, or to the left where that
// would cross the frame around it, and evenly up and down.
QRect GrowToText(QRect rect, QSize text, const QList<QRect>& frames) {
    if (text.width() > rect.width()) {
        const int right = rect.right();
        rect.setWidth(text.width());
        for (const QRect& frame : frames) {
            if (frame.contains(rect.topLeft()) && rect.right() >= frame.right()) {
                rect.moveRight(right);
            }
        }
    }
    if (text.height() > rect.height()) {
        const int half = (text.height() - rect.height() + 1) / 2; // the middle stays put
        rect.adjust(0, -half, 0, half);
    }
    return rect;
}

// The item's text in the user's language.
QString Text(const DialogItem& item) {
    return QCoreApplication::translate(dialogTextContext, item.text);
}

} // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent) : QDialog(parent) {
    // Modal for its owner only: the tray icon and its menu stay live while the dialog runs.
    setWindowModality(Qt::WindowModal);
    CreateControls();
    BindControls();
}

int CSettingsDlg::DoModal() {
    // The tray stays live while the dialog runs; a second run of the same window must not start.
    if (isVisible()) {
        return -1;
    }
    InitControls();
    m_warinessSlider->setFocus(Qt::OtherFocusReason);
    CenterOnWorkArea();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void CSettingsDlg::CreateControls() {
    const DialogTemplate& dlg = settingsDialogTemplate;
    setWindowTitle(QString::fromUtf8(dlg.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    // The face the template names is rarely installed here; fontconfig then picks the first of
    // the others that exists, all with Japanese glyphs.
    QFont font;
    font.setFamilies({QString::fromUtf8(dlg.fontFace), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPointSize(dlg.fontPoints);
    setFont(font);

    // Dialog base units from the font, the way Windows measures them: the average width of
    // the 52 letters, rounded, and the full character height.
    const QFontMetrics metrics = fontMetrics();
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (alphabetWidth / 26 + 1) / 2;
    const int baseY = metrics.height();
    // Edges are mapped one by one, so rectangles that touch in dialog units never overlap.
    const auto toPixels = [baseX, baseY](int x, int y, int width, int height) {
        const int left = MulDiv(x, baseX, 4);
        const int top = MulDiv(y, baseY, 8);
        return QRect(QPoint(left, top),
                     QPoint(MulDiv(x + width, baseX, 4) - 1, MulDiv(y + height, baseY, 8) - 1));
    };
    setFixedSize(toPixels(0, 0, dlg.width, dlg.height).size());

    QList<QRect> frames;
    for (const DialogItem& item : dlg.items) {
        if (item.kind == DialogItemKind::GroupBox) {
            frames.append(toPixels(item.x, item.y, item.width, item.height));
        }
    }
    QList<QWidget*> groupBoxes;
    int index = 0;
    for (const DialogItem& item : dlg.items) {
        ++index;
        QWidget* control = nullptr;
        switch (item.kind) {
        case DialogItemKind::HorizontalTrackbar:
        case DialogItemKind::VerticalTrackbar: {
            const bool vertical = item.kind == DialogItemKind::VerticalTrackbar;
            auto* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, this);
            slider->setTickPosition(vertical ? QSlider::TicksRight : QSlider::TicksBelow);
            slider->setTickInterval(1);
            // A vertical trackbar has its lowest position at the top, and Up moves it there.
            slider->setInvertedAppearance(vertical);
            slider->setInvertedControls(vertical);
            control = slider;
            break;
        }
        case DialogItemKind::RadioButton: {
            // Both are tab stops, so that the keyboard alone can switch to the timed window.
            auto* radio = new CTabStopRadioButton(Text(item), this);
            radio->setFocusPolicy(Qt::StrongFocus);
            connect(radio, &QRadioButton::clicked, this, &CSettingsDlg::UpdateTimeFields);
            control = radio;
            break;
        }
        case DialogItemKind::NumberEdit: {
            auto* spin = new CNumberSpinBox(this);
            spin->setLocale(QLocale::c());
            spin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            spin->setWrapping(true);
            spin->setGroupSeparatorShown(false);
            control = spin;
            break;
        }
        case DialogItemKind::UpDown:
            // Its spin box, made for the edit before it, already has the arrows.
            continue;
        case DialogItemKind::DefaultPushButton:
        case DialogItemKind::PushButton: {
            auto* button = new QPushButton(Text(item), this);
            if (item.kind == DialogItemKind::DefaultPushButton) {
                button->setDefault(true);
                connect(button, &QPushButton::clicked, this, &CSettingsDlg::Accept);
            } else {
                connect(button, &QPushButton::clicked, this, &QDialog::reject);
            }
            control = button;
            break;
        }
        case DialogItemKind::Static: {
            auto* label = new QLabel(Text(item), this);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            control = label;
            break;
        }
        case DialogItemKind::GroupBox: {
            auto* box = new QGroupBox(Text(item), this);
            // A group box only frames its neighbours: it must not cover them or take their clicks.
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            groupBoxes.append(box);
            control = box;
            break;
        }
        }
        if (item.id == 1) {
            control->setObjectName(QStringLiteral("ok"));
        } else if (item.id == 2) {
            control->setObjectName(QStringLiteral("cancel"));
        } else if (item.id == dialogStaticId) {
            control->setObjectName(QStringLiteral("static%1").arg(index));
        } else {
            control->setObjectName(QString::number(item.id));
        }
        QRect rect = toPixels(item.x, item.y, item.width, item.height);
        if (item.kind == DialogItemKind::Static || item.kind == DialogItemKind::RadioButton) {
            rect = GrowToText(rect, control->sizeHint(), frames);
        }
        control->setGeometry(rect);
    }
    for (QWidget* box : groupBoxes) {
        box->lower();
    }
}

// The controls live as long as the dialog, so they are found by their ids once.
void CSettingsDlg::BindControls() {
    const auto bind = [this](auto& field, int id) {
        field = findChild<std::remove_reference_t<decltype(*field)>*>(QString::number(id),
                                                                      Qt::FindDirectChildrenOnly);
        Q_ASSERT(field != nullptr);
    };
    bind(m_endMinuteSpin, kIdcEndMinute);
    bind(m_startMinuteSpin, kIdcStartMinute);
    bind(m_endHourSpin, kIdcEndHour);
    bind(m_startHourSpin, kIdcStartHour);
    bind(m_allDayRadio, kIdcAllDay);
    bind(m_timedRadio, kIdcTimed);
    bind(m_volumeSlider, kIdcVolume);
    bind(m_countSlider, kIdcCricketCount);
    bind(m_warinessSlider, kIdcWariness);

    // The focus chain in template order, which creation already gave; spelled out because Tab
    // follows it.
    const QList<QWidget*> chain = {m_warinessSlider,
                                   m_countSlider,
                                   m_allDayRadio,
                                   m_timedRadio,
                                   m_startHourSpin,
                                   m_startMinuteSpin,
                                   m_endHourSpin,
                                   m_endMinuteSpin,
                                   m_volumeSlider,
                                   findChild<QWidget*>(QStringLiteral("ok")),
                                   findChild<QWidget*>(QStringLiteral("cancel"))};
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

// Ranges come before positions, so that every position is taken within its final range.
void CSettingsDlg::InitControls() {
    m_warinessSlider->setRange(0, 3);
    m_countSlider->setRange(1, 16);
    m_volumeSlider->setRange(1, 100);
    // Clicks on the channel of the small sliders step a fifth of the range, at least one.
    m_warinessSlider->setPageStep(1);
    m_countSlider->setPageStep(3);

    m_volumeSlider->setPageStep(25);
    m_volumeSlider->setTickInterval(25);

    m_startHourSpin->setRange(0, 23);
    m_endHourSpin->setRange(0, 23);
    m_startMinuteSpin->setRange(0, 59);
    m_endMinuteSpin->setRange(0, 59);

    m_warinessSlider->setValue(m_settings.wariness);
    m_countSlider->setValue(m_settings.cricketCount);
    m_volumeSlider->setValue(VolumeToPosition(m_settings.volume));

    // Exclusive buttons: checking one clears the other.
    (m_settings.scheduleMode == 0 ? m_allDayRadio : m_timedRadio)->setChecked(true);

    SetTimeField(m_startHourSpin, m_settings.startHour);
    SetTimeField(m_endHourSpin, m_settings.endHour);
    SetTimeField(m_startMinuteSpin, m_settings.startMinute);
    SetTimeField(m_endMinuteSpin, m_settings.endMinute);

    UpdateTimeFields();
}

// A spin box's value is its last valid one: an emptied field reads as the value it showed before.
void CSettingsDlg::Accept() {
    m_settings.wariness = m_warinessSlider->value();
    m_settings.cricketCount = m_countSlider->value();
    m_settings.volume = 101 - m_volumeSlider->value();
    m_settings.startHour = m_startHourSpin->value();
    m_settings.endHour = m_endHourSpin->value();
    m_settings.startMinute = m_startMinuteSpin->value();
    m_settings.endMinute = m_endMinuteSpin->value();
    m_settings.scheduleMode = m_allDayRadio->isChecked() ? 0 : 1;
    QDialog::accept();
}

void CSettingsDlg::UpdateTimeFields() {
    const bool enable = !m_allDayRadio->isChecked();
    m_startHourSpin->setEnabled(enable);
    m_endHourSpin->setEnabled(enable);
    m_startMinuteSpin->setEnabled(enable);
    m_endMinuteSpin->setEnabled(enable);
}

// The frame and its decorations centred on the work area of the primary screen, kept inside it
// when they do not fit. The client area is placed, not the frame: X11 window managers differ in
// where they put a frame asked for by its corner, but all honour a client position.
void CSettingsDlg::CenterOnWorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size = this->size().grownBy(m_frame);
    int x = (2 * area.x() + area.width()) / 2 - size.width() / 2;
    int y = (2 * area.y() + area.height()) / 2 - size.height() / 2;
    x = std::max(area.x(), std::min(x, area.x() + area.width() - size.width()));
    y = std::max(area.y(), std::min(y, area.y() + area.height() - size.height()));
    setGeometry(QRect(QPoint(x + m_frame.left(), y + m_frame.top()), this->size()));
}

// A hidden window has no frame; the window manager's frame is known once it has framed and
// activated the window. The first opening is centred again then, and later openings use it.
bool CSettingsDlg::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate && windowHandle() != nullptr &&
        windowHandle()->frameMargins() != m_frame) {
        m_frame = windowHandle()->frameMargins();
        CenterOnWorkArea();
    }
    return handled;
}
