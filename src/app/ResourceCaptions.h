#pragma once
class QWidget;

// Replaces numeric captions of a window's menu items and numeric tooltips of
// its tool buttons (and of labels by their tag) with string-table texts.
// Every step is tried on its own; a text that is not a whole 16-bit number
// or an id the table lacks keeps its text.
void ApplyResourceCaptions(QWidget* window);
