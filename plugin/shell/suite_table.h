/* The host suites the plug-in uses, acquired into these process-wide pointers at the start of each
 * outermost PluginMain call and released at its end. Every other procedure calls the host through them;
 * a pointer is null while its suite is not held. */
#ifndef TESSELWRIGHT_SUITE_TABLE_H
#define TESSELWRIGHT_SUITE_TABLE_H

#include "hostapi/hostapi.h"

extern const SPBlocksSuite* sSPBlocks;
extern const SPAccessSuite* sSPAccess;
extern const AIMdMemorySuite* sAIMdMemory;
extern const AIRealMathSuite* sAIRealMath;
extern const AIArtSuite* sAIArt;
extern const AIUserSuite* sAIUser;
extern const AIDocumentSuite* sAIDocument;
extern const AIDocumentViewSuite* sAIDocumentView;
extern const AIUndoSuite* sAIUndo;
extern const AIShapeConstructionSuite* sAIShapeConstruction;
extern const AIPathSuite* sAIPath;
extern const AIPathStyleSuite* sAIPathStyle;
extern const AIRandomSuite* sAIRandom;
extern const AIBlendStyleSuite* sAIBlendStyle;
extern const AIPatternSuite* sAIPattern;
extern const AIDictionarySuite* sAIDictionary;
extern const AIArtStyleSuite* sAIArtStyle;
extern const AIArtStyleParserSuite* sAIArtStyleParser;
extern const AISymbolSuite* sAISymbol;
extern const AIMenuSuite* sAIMenu;
extern const AIFilterSuite* sAIFilter;
extern const ADMBasicSuite* sADMBasic;
extern const ADMDialogSuite* sADMDialog;
extern const ADMItemSuite* sADMItem;
extern const ADMIconSuite* sADMIcon;
extern const ADMNotifierSuite* sADMNotifier;
extern const ADMListSuite* sADMList;
extern const ADMEntrySuite* sADMEntry;
extern const ADMTrackerSuite* sADMTracker;

#endif
