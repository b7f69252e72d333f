#pragma once

// Marks a table text for Qt's lupdate without bringing Qt below the windowing code. The
// definition is Qt's own, so the two may meet in one file. The windowing code translates each
// text at the point of use, by the context written here.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif
