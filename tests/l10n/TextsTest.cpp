// The program's texts in the language the locale asks for. ctest runs this once per locale, in a
// fresh process, naming the expected language in KIRORIN_EXPECT_LANGUAGE: "ja" (the texts as
// written) or "en".
#include "platform/Framework.h"
#include "platform/QtTranslation.h"
#include "res/Strings.h"
#include "res/dialog133.h"
#include "res/menu131.h"
#include "ui/CSettingsDlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The text a label, group box or button shows.
QString TextOf(const QWidget* w) {
    return w->property(qobject_cast<const QGroupBox*>(w) ? "title" : "text").toString();
}

// English needs nothing beyond Latin-1; every Japanese text holds characters beyond it.
bool Latin(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

// In Japanese a text is shown exactly as written; in English it is translated, keeping its
// access keys, and texts already in Latin letters ("MIN", "Kirorin") stay.
void ExpectShownAs(const QString& shown, const char* source) {
    const QString original = QString::fromUtf8(source);
    if (qgetenv("KIRORIN_EXPECT_LANGUAGE") != "en" || Latin(original)) {
        EXPECT_EQ(shown, original);
    } else {
        EXPECT_TRUE(!shown.isEmpty() && Latin(shown) && shown.count(u'&') == original.count(u'&'))
            << shown.toStdString();
    }
}

// Where a control's text goes: its size hint from the top left corner, or for a group box (which
// has no hint of its own) the title's place as the style lays it out.
QRect NeededRect(const QWidget* w) {
    QStyleOptionGroupBox box;
    box.initFrom(w);
    box.text = TextOf(w);
    box.subControls = QStyle::SC_GroupBoxLabel;
    return qobject_cast<const QGroupBox*>(w) == nullptr
               ? QRect(QPoint(0, 0), w->sizeHint())
               : w->style()->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, w);
}

// Each text in the language the locale chooses, within its control; each control within the frame
// around it and apart from the controls it is apart from in the template. A text left out of the
// translation, or changed without it, shows untranslated in English.
TEST(Texts, AreInTheLanguageAndFitTheirControls) {
    platform::InstallTranslation();
    CSettingsDlg dlg;
    std::vector<std::pair<QRect, const QWidget*>> items; // template rectangle, control
    int n = 0;
    for (const DialogItem& item : settingsDialogTemplate.items) {
        ++n;
        if (item.kind == DialogItemKind::UpDown) {
            continue; // its arrows are part of its field
        }
        // The dialog names a control by its id, "ok", "cancel", or "static<n>" for the n-th item.
        const QString name = item.id == kIdOk            ? QStringLiteral("ok")
                             : item.id == kIdCancel      ? QStringLiteral("cancel")
                             : item.id == dialogStaticId ? QStringLiteral("static%1").arg(n)
                                                         : QString::number(item.id);
        const auto* w = dlg.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        ASSERT_NE(w, nullptr) << n;
        items.emplace_back(QRect(item.x, item.y, item.width, item.height), w);
        if (*item.text != '\0') {
            ExpectShownAs(TextOf(w), item.text);
            EXPECT_TRUE(w->rect().contains(NeededRect(w))) << TextOf(w).toStdString();
        }
        EXPECT_TRUE(dlg.rect().contains(w->geometry())) << n;
    }
    int apart = 0;
    for (const auto& [a, wa] : items) {
        for (const auto& [b, wb] : items) {
            const QString pair = wa->objectName() + " / " + wb->objectName();
            if (!a.intersects(b)) {
                apart += 1;
                EXPECT_FALSE(wa->geometry().intersects(wb->geometry())) << pair.toStdString();
            } else if (a != b && a.contains(b)) { // inside a frame, clear of its lines
                EXPECT_TRUE(wa->geometry().adjusted(1, 1, -1, -1).contains(wb->geometry()))
                    << pair.toStdString();
            }
        }
    }
    EXPECT_GT(apart, 600);

    for (const MenuItem& item : trayMenu131) {
        if (item.text != nullptr) {
            ExpectShownAs(QCoreApplication::translate(trayMenuContext, item.text), item.text);
        }
    }
    for (std::uint32_t id = 0; id <= 0xFFFF; ++id) { // every text of the string table
        if (!LoadString(id).empty()) {
            ExpectShownAs(QString::fromStdString(platform::LoadText(id)), LoadString(id).data());
        }
    }
}

} // namespace
