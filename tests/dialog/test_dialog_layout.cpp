// What the dialog says and how its controls are laid out.
#include "DialogDriver.h"

#include "res/dialog133.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <map>
#include <vector>

namespace {

QString TextOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(w)) {
        return box->title();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    return {};
}

QString NameOf(const DialogItem& item, int index) {
    if (item.id == 1) {
        return "ok";
    }
    if (item.id == 2) {
        return "cancel";
    }
    if (item.id == dialogStaticId) {
        return QStringLiteral("static%1").arg(index + 1);
    }
    return QString::number(item.id);
}

QRect DialogUnits(const DialogItem& item) {
    return {item.x, item.y, item.width, item.height};
}

} // namespace

class DialogLayout : public DialogTest {
protected:
    // The widgets standing for the template's items; an up-down's arrows are part of its field.
    std::vector<std::pair<QRect, QWidget*>> Items() {
        std::vector<std::pair<QRect, QWidget*>> items;
        int index = 0;
        for (const DialogItem& item : settingsDialogTemplate.items) {
            const QString name = NameOf(item, index++);
            if (item.kind == DialogItemKind::UpDown) {
                continue;
            }
            auto* widget = dlg.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
            EXPECT_NE(widget, nullptr) << name.toStdString();
            if (widget != nullptr) {
                items.emplace_back(DialogUnits(item), widget);
            }
        }
        return items;
    }
};

TEST_F(DialogLayout, ShowsItsTexts) {
    EXPECT_EQ(dlg.windowTitle(), "Kirorin");
    const std::map<QString, QString> expected = {
        {"1006", "終日活動する"},
        {"1007", "活動時間を指定する"},
        {"ok", "ＯＫ"},
        {"cancel", "キャンセル"},
        {"static16", "警戒しない"},
        {"static17", "高"},
        {"static18", "低"},
        {"static19", "中"},
        {"static20", "１匹"},
        {"static21", "１６匹"},
        {"static22", "■鈴虫の警戒度（マウスの移動に反応します）"},
        {"static23", "■鈴虫の数"},
        {"static24", "■鈴虫の活動時間"},
        {"static25", "時"},
        {"static26", "分から"},
        {"static27", "時"},
        {"static28", "分まで"},
        {"static29", "■ボリューム"},
        {"static30", "MIN"},
        {"static31", "MAX"},
    };
    int texts = 0;
    for (QWidget* w : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString text = TextOf(w);
        if (text.isEmpty()) {
            continue;
        }
        ++texts;
        const auto it = expected.find(w->objectName());
        ASSERT_NE(it, expected.end()) << w->objectName().toStdString();
        EXPECT_EQ(text, it->second) << w->objectName().toStdString();
    }
    EXPECT_EQ(texts, int(expected.size()));
}

TEST_F(DialogLayout, UsesTheDialogFontOrAJapaneseFallback) {
    const QFont font = dlg.font();
    ASSERT_FALSE(font.families().isEmpty());
    EXPECT_EQ(font.families().front(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(font.pointSize(), 9);
    // Whatever face was found draws every character of the dialog itself, without fallbacks.
    const QFontMetrics metrics(font);
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        for (const char32_t c : TextOf(w).toUcs4()) {
            EXPECT_TRUE(metrics.inFontUcs4(c)) << "U+" << std::hex << unsigned(c) << " in "
                                               << QFontInfo(font).family().toStdString();
        }
    }
}

TEST_F(DialogLayout, ControlsKeepTheTemplatesProportions) {
    const QSize size = dlg.size();
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize()) << "the dialog is not resizable";
    const double unitX = size.width() / double(settingsDialogTemplate.width);
    const double unitY = size.height() / double(settingsDialogTemplate.height);
    // A 9-point font gives dialog units of roughly 1.5 pixels across and 1.5 down.
    EXPECT_GT(unitX, 1.2);
    EXPECT_LT(unitX, 2.2);
    EXPECT_GT(unitY, 1.2);
    EXPECT_LT(unitY, 2.2);
    for (const auto& [units, widget] : Items()) {
        const QRect px = widget->geometry();
        const std::string name = widget->objectName().toStdString();
        EXPECT_NEAR(px.left(), units.left() * unitX, 1.0) << name;
        EXPECT_NEAR(px.top(), units.top() * unitY, 1.0) << name;
        EXPECT_NEAR(px.width(), units.width() * unitX, 1.5) << name;
        EXPECT_NEAR(px.height(), units.height() * unitY, 1.5) << name;
        EXPECT_TRUE(dlg.rect().contains(px)) << name;
    }
}

TEST_F(DialogLayout, ControlsApartInTheTemplateStayApartOnScreen) {
    const auto items = Items();
    int apart = 0;
    int framed = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        for (size_t j = i + 1; j < items.size(); ++j) {
            const auto& [a, wa] = items[i];
            const auto& [b, wb] = items[j];
            const std::string names =
                wa->objectName().toStdString() + " / " + wb->objectName().toStdString();
            if (!a.intersects(b)) {
                ++apart;
                EXPECT_FALSE(wa->geometry().intersects(wb->geometry())) << names;
            } else if (a.contains(b) || b.contains(a)) {
                ++framed;
                const bool aOuter = a.contains(b);
                EXPECT_TRUE((aOuter ? wa : wb)->geometry().contains((aOuter ? wb : wa)->geometry()))
                    << names;
            } else {
                ADD_FAILURE() << "overlapping items in the template: " << names;
            }
        }
    }
    EXPECT_GT(apart, 300);
    EXPECT_GT(framed, 20);
}

TEST_F(DialogLayout, EveryTextFitsItsControl) {
    for (QWidget* w : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString text = TextOf(w);
        const std::string name = w->objectName().toStdString();
        const QFontMetrics metrics = w->fontMetrics();
        if (qobject_cast<QLabel*>(w) != nullptr) {
            EXPECT_LE(metrics.horizontalAdvance(text), w->width()) << name;
            EXPECT_LE(metrics.height(), w->height()) << name;
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.textAlignment = box->alignment();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, box);
            EXPECT_TRUE(box->rect().contains(title)) << name;
        } else if (qobject_cast<QAbstractButton*>(w) != nullptr) {
            // Radio buttons: indicator and text; push buttons: text inside the bevel.
            EXPECT_LE(w->sizeHint().width(),
                      w->width() + (name == "ok" || name == "cancel" ? 8 : 0))
                << name;
            EXPECT_LE(metrics.height(), w->height()) << name;
        } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
            const QLineEdit* edit = spin->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            EXPECT_LE(metrics.horizontalAdvance("59"), edit->width()) << name;
            EXPECT_LE(metrics.height(), edit->height()) << name;
        }
    }
}
