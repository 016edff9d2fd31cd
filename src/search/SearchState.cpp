#include "search/SearchState.h"

QString SearchText;
qint16 SearchOptions = 0;
