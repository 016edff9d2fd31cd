#include "Operations.h"

#include <algorithm>

namespace bench {

const std::vector<Operation>& operations()
{
    static const std::vector<Operation> all = {
        {"load", measureLoad},
        {"status-query", measureStatusQuery},
        {"save", measureSave},
        {"find", measureFind},
        {"replace-all", measureReplaceAll},
        {"word-count", measureWordCount},
        {"character-count", measureCharacterCount},
        {"go-to-line", measureGoToLine},
        {"timer-tick", measureTimerTick},
        {"clean", measureClean},
        {"select-copy", measureSelectCopy},
        {"cut-paste", measureCutPaste},
        {"print", measurePrint},
        {"keystroke", measureKeystroke},
        {"open", measureOpen},
        {"caret-jump", measureCaretJump},
        {"recovery", measureRecovery},
        {"one-line", measureOneLine},
        {"idle", measureIdle},
    };
    return all;
}

namespace {
int limitOverride = 0;
}

int phaseLimitSeconds(int sizeMB) { return limitOverride > 0 ? limitOverride : std::max(20, sizeMB * 6 / 10); }

void setPhaseLimitOverride(int seconds) { limitOverride = seconds; }

int setupLimitSeconds(int sizeMB) { return std::max(60, sizeMB * 2); }

}  // namespace bench
