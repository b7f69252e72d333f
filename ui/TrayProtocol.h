#pragma once

namespace ui {

// Whether Qt shows the tray icon as a StatusNotifierItem: a StatusNotifierWatcher on the session
// bus reports a registered host. Otherwise Qt embeds the icon into an XEmbed tray. Qt decides
// this once, at the first tray icon, so ask at the same moment.
bool StatusNotifierHostRegistered();

} // namespace ui
