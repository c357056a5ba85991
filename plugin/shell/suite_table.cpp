#include "shell/suite_table.h"

#include <stdio.h>

#include "shell/suite_bracket.h"

const SPBlocksSuite* sSPBlocks = nullptr;
const SPAccessSuite* sSPAccess = nullptr;
const AIMdMemorySuite* sAIMdMemory = nullptr;
const AIRealMathSuite* sAIRealMath = nullptr;
const AIArtSuite* sAIArt = nullptr;
const AIUserSuite* sAIUser = nullptr;
const AIDocumentSuite* sAIDocument = nullptr;
const AIDocumentViewSuite* sAIDocumentView = nullptr;
const AIUndoSuite* sAIUndo = nullptr;
const AIShapeConstructionSuite* sAIShapeConstruction = nullptr;
const AIPathSuite* sAIPath = nullptr;
const AIPathStyleSuite* sAIPathStyle = nullptr;
const AIRandomSuite* sAIRandom = nullptr;
const AIBlendStyleSuite* sAIBlendStyle = nullptr;
const AIPatternSuite* sAIPattern = nullptr;
const AIDictionarySuite* sAIDictionary = nullptr;
const AIArtStyleSuite* sAIArtStyle = nullptr;
const AIArtStyleParserSuite* sAIArtStyleParser = nullptr;
const AISymbolSuite* sAISymbol = nullptr;
const AIMenuSuite* sAIMenu = nullptr;
const AIFilterSuite* sAIFilter = nullptr;
const ADMBasicSuite* sADMBasic = nullptr;
const ADMDialogSuite* sADMDialog = nullptr;
const ADMItemSuite* sADMItem = nullptr;
const ADMIconSuite* sADMIcon = nullptr;
const ADMNotifierSuite* sADMNotifier = nullptr;
const ADMListSuite* sADMList = nullptr;
const ADMEntrySuite* sADMEntry = nullptr;
const ADMTrackerSuite* sADMTracker = nullptr;

namespace {

struct SuiteTableEntry {
    const char* name;
    int32_t version;
    const void** suite; /* the pointer variable the suite is acquired into */
};

/* The pointer variables are typed for their callers; the table only needs their addresses. */
template <typename Suite>
const void** SuitePointer(const Suite** variable) {
    return reinterpret_cast<const void**>(variable);
}

const SuiteTableEntry SuiteTable[] = {
    {kSPBlocksSuite, kSPBlocksSuiteVersion, SuitePointer(&sSPBlocks)},
    {kSPAccessSuite, kSPAccessSuiteVersion, SuitePointer(&sSPAccess)},
    {kAIMdMemorySuite, kAIMdMemorySuiteVersion, SuitePointer(&sAIMdMemory)},
    {kAIRealMathSuite, kAIRealMathSuiteVersion, SuitePointer(&sAIRealMath)},
    {kAIArtSuite, kAIArtSuiteVersion, SuitePointer(&sAIArt)},
    {kAIUserSuite, kAIUserSuiteVersion, SuitePointer(&sAIUser)},
    {kAIDocumentSuite, kAIDocumentSuiteVersion, SuitePointer(&sAIDocument)},
    {kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, SuitePointer(&sAIDocumentView)},
    {kAIUndoSuite, kAIUndoSuiteVersion, SuitePointer(&sAIUndo)},
    {kAIShapeConstructionSuite, kAIShapeConstructionSuiteVersion, SuitePointer(&sAIShapeConstruction)},
    {kAIPathSuite, kAIPathSuiteVersion, SuitePointer(&sAIPath)},
    {kAIPathStyleSuite, kAIPathStyleSuiteVersion, SuitePointer(&sAIPathStyle)},
    {kAIRandomSuite, kAIRandomSuiteVersion, SuitePointer(&sAIRandom)},
    {kAIBlendStyleSuite, kAIBlendStyleSuiteVersion, SuitePointer(&sAIBlendStyle)},
    {kAIPatternSuite, kAIPatternSuiteVersion, SuitePointer(&sAIPattern)},
    {kAIDictionarySuite, kAIDictionarySuiteVersion, SuitePointer(&sAIDictionary)},
    {kAIArtStyleSuite, kAIArtStyleSuiteVersion, SuitePointer(&sAIArtStyle)},
    {kAIArtStyleParserSuite, kAIArtStyleParserSuiteVersion, SuitePointer(&sAIArtStyleParser)},
    {kAISymbolSuite, kAISymbolSuiteVersion, SuitePointer(&sAISymbol)},
    {kAIMenuSuite, kAIMenuSuiteVersion, SuitePointer(&sAIMenu)},
    {kAIFilterSuite, kAIFilterSuiteVersion, SuitePointer(&sAIFilter)},
    {kADMBasicSuite, kADMBasicSuiteVersion, SuitePointer(&sADMBasic)},
    {kADMDialogSuite, kADMDialogSuiteVersion, SuitePointer(&sADMDialog)},
    {kADMItemSuite, kADMItemSuiteVersion, SuitePointer(&sADMItem)},
    {kADMIconSuite, kADMIconSuiteVersion, SuitePointer(&sADMIcon)},
    {kADMNotifierSuite, kADMNotifierSuiteVersion, SuitePointer(&sADMNotifier)},
    {kADMListSuite, kADMListSuiteVersion, SuitePointer(&sADMList)},
    {kADMEntrySuite, kADMEntrySuiteVersion, SuitePointer(&sADMEntry)},
    {kADMTrackerSuite, kADMTrackerSuiteVersion, SuitePointer(&sADMTracker)},
};

enum { kSuiteCount = sizeof(SuiteTable) / sizeof(SuiteTable[0]) };
static_assert(kSuiteCount == 29, "the plug-in uses 29 host suites");

/* Calls inside the bracket right now: 1 in an outermost call, more while a nested call runs. */
int16_t suiteNestingCount = 0;

/* Without the ADM Basic Suite there is no way to tell the user; the code still reaches the host. */
void AnnounceSuiteLoadingError(ASErr error, const SuiteTableEntry& entry) {
    if (sADMBasic == nullptr)
        return;
    char text[256];
    snprintf(text, sizeof(text), "Suite Loading Error: %d, suite: %s, version: %d!", static_cast<int>(error),
             entry.name, static_cast<int>(entry.version));
    sADMBasic->MessageAlert(text);
}

/* Any failed acquisition ends the walk: going on would leave a null suite pointer for the dispatch to call
 * through. */
ASErr AcquireAll(SPBasicSuite* basic) {
    for (const SuiteTableEntry& entry : SuiteTable) {
        if (entry.suite == nullptr)
            continue;
        ASErr error = basic->AcquireSuite(entry.name, entry.version, entry.suite);
        if (error != kNoErr) {
            AnnounceSuiteLoadingError(error, entry);
            return error;
        }
    }
    return kNoErr;
}

/* Only suites we hold are given back: after a failed acquisition the entries from the failed one on were
 * never acquired, and releasing them would drop references that belong to someone else. */
ASErr ReleaseAll(SPBasicSuite* basic) {
    for (const SuiteTableEntry& entry : SuiteTable) {
        if (entry.suite == nullptr || *entry.suite == nullptr)
            continue;
        ASErr error = basic->ReleaseSuite(entry.name, entry.version);
        if (error != kNoErr)
            return error;
        *entry.suite = nullptr;
    }
    return kNoErr;
}

}  // namespace

ASErr AcquireSuites(SPBasicSuite* basic) {
    ASErr error = kNoErr;
    if (suiteNestingCount == 0)
        error = AcquireAll(basic);
    ++suiteNestingCount;
    return error;
}

ASErr ReleaseSuites(SPBasicSuite* basic) {
    ASErr error = kNoErr;
    if (suiteNestingCount == 1)
        error = ReleaseAll(basic);
    /* A "Reload" sent from inside a call has already restarted the count; going below 0 would keep every
     * later call from acquiring its suites. */
    if (suiteNestingCount > 0)
        --suiteNestingCount;
    return error;
}

void ResetSuiteNesting(void) {
    suiteNestingCount = 0;
}
