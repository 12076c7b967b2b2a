#include "ModelClasses.h"

namespace lumivane {
namespace {

// The families the class table names; any other kind is "other".
bool isNamedFamily(int kind)
{
    return (kind >= 1 && kind <= 6) || kind == 8 || kind == 100;
}

} // namespace

bool isClassA(ModelCode model)
{
    const int kind = model.kind();
    return kind == 7 || kind == 4 || kind == 5 || !isNamedFamily(kind);
}

bool isClassB(ModelCode model)
{
    const int kind = model.kind();
    return kind == 7 || kind == 5 || !isNamedFamily(kind);
}

bool isClassC(ModelCode model)
{
    const int kind = model.kind();
    return kind == 7 || !isNamedFamily(kind);
}

bool isClassD(ModelCode model)
{
    if (isKind7(model)) {
        return model.variant() >= 5 && model.variant() != 7;
    }
    return !isNamedFamily(model.kind());
}

bool isClassE(ModelCode model)
{
    if (isKind7(model)) {
        return model.variant() == 6 || model.variant() >= 9;
    }
    return !isNamedFamily(model.kind());
}

bool isClassF(ModelCode model)
{
    if (isKind7(model)) {
        return model.variant() >= 9;
    }
    return isKind8(model) || !isNamedFamily(model.kind());
}

bool isClassG(ModelCode model)
{
    const int variant = model.variant();
    return isKind7(model) && (variant == 11 || variant == 12 || variant == 16);
}

bool isKind6(ModelCode model)
{
    return model.kind() == 6;
}

bool isKind7(ModelCode model)
{
    return model.kind() == 7;
}

bool isKind8(ModelCode model)
{
    return model.kind() == 8;
}

bool isNotKind100(ModelCode model)
{
    return model.kind() != 100;
}

bool isKind7Variant6(ModelCode model)
{
    return isKind7(model) && model.variant() == 6;
}

bool hasExpansionBoard(ModelCode model)
{
    return isKind7(model) && !model.lacksExpansionBoard();
}

bool hasDsubAvModes(ModelCode model)
{
    return isClassF(model) && isKind7(model) && model.variant() != 15;
}

bool isKnownModel(ModelCode model, bool* kindIn3To8)
{
    const int kind = model.kind();
    if (kindIn3To8 != nullptr) {
        *kindIn3To8 = kind >= 3 && kind <= 8;
    }
    return kind != 0 && kind != 100;
}

bool supportsInputPair(ModelCode model, int a, int b)
{
    switch (model.kind()) {
    case 3:
        return a <= 4 && b <= 4;
    case 6:
    case 8:
        return false;
    case 7:
        if (model.variant() == 5 || model.variant() == 8) {
            return false;
        }
        break;
    default:
        break;
    }
    return a == b || isClassB(model);
}

} // namespace lumivane
