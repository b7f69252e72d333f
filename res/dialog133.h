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
// The controls' ids, named once for the template and the code.
inline constexpr int kIdcWariness = 1001;
inline constexpr int kIdcCricketCount = 1002;
inline constexpr int kIdcVolume = 1003;
inline constexpr int kIdcAllDay = 1006;
inline constexpr int kIdcTimed = 1007;
inline constexpr int kIdcStartHour = 1008;
inline constexpr int kIdcStartMinute = 1009;
inline constexpr int kIdcEndHour = 1010;
inline constexpr int kIdcEndMinute = 1011;
inline constexpr int kIdcStartHourArrows = 1012;
inline constexpr int kIdcEndHourArrows = 1013;
inline constexpr int kIdcStartMinuteArrows = 1014;
inline constexpr int kIdcEndMinuteArrows = 1015;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// The texts are translated in this context; "MIN", "MAX" and the caption stay as written.
inline constexpr char dialogTextContext[] = "Dialog";

inline constexpr DialogTemplate settingsDialogTemplate = {
    "Kirorin",
    "ＭＳ Ｐゴシック",
    9,
    169,
    265,
    {{
        {kIdcWariness, DialogItemKind::HorizontalTrackbar, "", 10, 20, 150, 20},
        {kIdcCricketCount, DialogItemKind::HorizontalTrackbar, "", 10, 85, 150, 20},
        {kIdcAllDay, DialogItemKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "終日活動する"), 15,
         151, 85, 10},
        {kIdcTimed, DialogItemKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "活動時間を指定する"),
         15, 165, 85, 10},
        {kIdcStartHour, DialogItemKind::NumberEdit, "", 15, 181, 25, 15},
        {kIdcStartHourArrows, DialogItemKind::UpDown, "", 30, 175, 10, 15},
        {kIdcStartMinute, DialogItemKind::NumberEdit, "", 50, 181, 25, 15},
        {kIdcStartMinuteArrows, DialogItemKind::UpDown, "", 65, 175, 10, 15},
        {kIdcEndHour, DialogItemKind::NumberEdit, "", 15, 201, 25, 15},
        {kIdcEndHourArrows, DialogItemKind::UpDown, "", 30, 195, 10, 15},
        {kIdcEndMinute, DialogItemKind::NumberEdit, "", 50, 201, 25, 15},
        {kIdcEndMinuteArrows, DialogItemKind::UpDown, "", 65, 195, 10, 15},
        {kIdcVolume, DialogItemKind::VerticalTrackbar, "", 125, 145, 20, 75},
        {kIdOk, DialogItemKind::DefaultPushButton, QT_TRANSLATE_NOOP("Dialog", "ＯＫ"), 5, 240, 75,
         15},
        {kIdCancel, DialogItemKind::PushButton, QT_TRANSLATE_NOOP("Dialog", "キャンセル"), 90, 240,
         75, 15},
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
