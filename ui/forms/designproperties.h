#pragma once

class QWidget;

namespace ui {

// What the layouts declare that Qt Designer has no property for, as dynamic
// properties on the widgets, applied once after a window's layout is loaded:
// - "fontHeight": the character height in pixels at 96 dpi, which point sizes
//   cannot always express exactly; Qt's device-independent pixels then scale
//   it with the display density like every other size.
// - "textColor": the colour of a label's text, in the widget's own palette, so
//   that nothing else (its tooltips, say) takes the colour on.
// - "picture": the carried button picture, by name (see carriedButtonIcon).
void applyDesignProperties(QWidget *root);

} // namespace ui
