#pragma once

#include "res/Translatable.h"

#include <array>

// Dialog template 133, the settings dialog. Rectangles are in dialog units; the controls are
// listed in template order, which is also their tab order and z-order.
enum class DialogItemKind {
    HorizontalTrackbar,
    VerticalTrackbar,
    RadioButton,
    NumberEdit, // digits only, right-aligned
    UpDown,     // wrapping arrows for the edit just before it
    DefaultPushButton,
    PushButton,
    Static,
    GroupBox,
};

struct DialogItem {
    int id; // -1 for the statics and group boxes, which nothing refers to
    DialogItemKind kind;
    const char* text; // UTF-8
    int x;
    int y;
    int width;
    int height;
};

struct DialogTemplate {
    const char* caption;
    const char* fontFace;
    int fontPoints;
    int width;
    int height;
    std::array<DialogItem, 31> items;
};

inline constexpr int dialogStaticId = -1;

// The texts are translated in this context; "MIN", "MAX" and the caption stay as written.
inline constexpr char dialogTextContext[] = "Dialog";

inline constexpr DialogTemplate settingsDialogTemplate = {
    "Kirorin",
    "ＭＳ Ｐゴシック",
    9,
    169,
    265,
    {{
        {1001, DialogItemKind::HorizontalTrackbar, "", 10, 20, 150, 20},
        {1002, DialogItemKind::HorizontalTrackbar, "", 10, 85, 150, 20},
        {1006, DialogItemKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "終日活動する"), 15, 151,
         85, 10},
        {1007, DialogItemKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "活動時間を指定する"), 15,
         165, 85, 10},
        {1008, DialogItemKind::NumberEdit, "", 15, 181, 25, 15},
        {1012, DialogItemKind::UpDown, "", 30, 175, 10, 15},
        {1009, DialogItemKind::NumberEdit, "", 50, 181, 25, 15},
        {1014, DialogItemKind::UpDown, "", 65, 175, 10, 15},
        {1010, DialogItemKind::NumberEdit, "", 15, 201, 25, 15},
        {1013, DialogItemKind::UpDown, "", 30, 195, 10, 15},
        {1011, DialogItemKind::NumberEdit, "", 50, 201, 25, 15},
        {1015, DialogItemKind::UpDown, "", 65, 195, 10, 15},
        {1003, DialogItemKind::VerticalTrackbar, "", 125, 145, 20, 75},
        {1, DialogItemKind::DefaultPushButton, QT_TRANSLATE_NOOP("Dialog", "ＯＫ"), 5, 240, 75, 15},
        {2, DialogItemKind::PushButton, QT_TRANSLATE_NOOP("Dialog", "キャンセル"), 90, 240, 75, 15},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "警戒しない"), 15, 45,
         35, 10},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "高"), 150, 45, 10,
         10},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "低"), 61, 45, 10, 10},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "中"), 105, 45, 10,
         10},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "１匹"), 15, 111, 15,
         10},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "１６匹"), 142, 111,
         19, 10},
        {dialogStaticId, DialogItemKind::GroupBox,
         QT_TRANSLATE_NOOP("Dialog", "■鈴虫の警戒度（マウスの移動に反応します）"), 5, 5, 160, 55},
        {dialogStaticId, DialogItemKind::GroupBox, QT_TRANSLATE_NOOP("Dialog", "■鈴虫の数"), 5, 70,
         160, 55},
        {dialogStaticId, DialogItemKind::GroupBox, QT_TRANSLATE_NOOP("Dialog", "■鈴虫の活動時間"),
         5, 135, 100, 90},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "時"), 42, 185, 8, 10},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "分から"), 78, 185, 20,
         10},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "時"), 42, 205, 8, 10},
        {dialogStaticId, DialogItemKind::Static, QT_TRANSLATE_NOOP("Dialog", "分まで"), 78, 205, 20,
         10},
        {dialogStaticId, DialogItemKind::GroupBox, QT_TRANSLATE_NOOP("Dialog", "■ボリューム"), 115,
         135, 50, 90},
        {dialogStaticId, DialogItemKind::Static, "MIN", 146, 210, 15, 10},
        {dialogStaticId, DialogItemKind::Static, "MAX", 145, 151, 15, 10},
    }},
};
