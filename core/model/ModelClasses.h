#pragma once

#include "ModelCode.h"

namespace lumivane {

// Model classes of the command availability table. Each is a yes/no test of a ModelCode; kinds 1-6, 8
// and 100 are the named families, every other kind (0, 9-99, above 100) counts as "other" and mostly
// passes, so that a newer family is not cut off from commands.
bool isClassA(ModelCode model); // kind 7, 4, 5 and other kinds
bool isClassB(ModelCode model); // kind 7, 5 and other kinds
bool isClassC(ModelCode model); // kind 7 and other kinds
bool isClassD(ModelCode model); // kind 7 variant 5 and higher but not 7; other kinds
bool isClassE(ModelCode model); // kind 7 variant 6 or 9 and higher; other kinds
bool isClassF(ModelCode model); // kind 7 variant 9 and higher; kind 8; other kinds
bool isClassG(ModelCode model); // kind 7 variant 11, 12 or 16 only

// Further model tests.
bool isKind6(ModelCode model); // the ZR-1190 family
bool isKind7(ModelCode model);
bool isKind8(ModelCode model);
bool isNotKind100(ModelCode model);
bool isKind7Variant6(ModelCode model);
// Kind 7 with the expansion board fitted.
bool hasExpansionBoard(ModelCode model);
// The models whose D-SUB connector also takes component and composite video (selected with "SLDS").
bool hasDsubAvModes(ModelCode model);
// Kind neither 0 nor 100; `kindIn3To8`, when given, receives whether the kind lies in 3 to 8.
bool isKnownModel(ModelCode model, bool* kindIn3To8 = nullptr);
// Whether the model can show the inputs `a` and `b` (InputModeIndex) at the same time.
bool supportsInputPair(ModelCode model, int a, int b);

} // namespace lumivane
