#pragma once
// The tab stops of paragraphs: twips as the program counts them, pixels as
// the document holds them.
class QTextDocument;

double tabPixels(int twips);
int tabTwips(double pixels);

// Changes the stops of every paragraph from the one at position `start` to
// the one at `end`: either their number (count >= 0; new stops repeat the
// last one) or the place of stop `index`, in one edit step.
void setBlockTabs(QTextDocument& document, int start, int end, int count, int index, int twips);
