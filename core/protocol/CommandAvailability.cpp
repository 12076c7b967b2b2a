#include "CommandAvailability.h"

#include "CommandText.h"
#include "ModelClasses.h"
#include "traitbook.h"

#include <algorithm>
#include <cstring>

namespace lumivane {
namespace {

using Codes = std::span<const std::string_view>;

// The only commands the economy series (kind 8) takes; "BMOD" besides, with some parameters.
constexpr std::string_view kKind8Codes[] = {"POWR", "INPS", "ASNC", "STDR", "WIDE", "VOLM", "MUTE", "INF1",
                                            "SRNO", "VLMP", "RSET", "ALCK", "DSTA", "ERRT", "STCA", "CKSM",
                                            "EDWP", "FMAG", "FMVR", "UTIM", "IFSN", "FRST", "BLTM", "PLTM"};

constexpr std::string_view kClassACodes[] = {"FLES", "TDNR", "MPNR", "YCSP", "DATE", "AADJ", "PMNG", "EPSH",
                                             "EPSV", "MWBL", "MWPP", "MPSZ", "HWCK", "DVSL", "BNSL"};
constexpr std::string_view kClassBCodes[] = {"HSIZ", "VSIZ", "HRES", "VRES", "CMHR", "CMHG", "CMHB", "CMHY", "CMHC",
                                             "CMHM", "CMSR", "CMSG", "CMSB", "CMSY", "CMSC", "CMSM", "CMVR", "CMVG",
                                             "CMVB", "CMVY", "CMVC", "CMVM", "CRST", "HDAW", "SALT", "HWST", "HDSL"};
constexpr std::string_view kClassCCodes[] = {"PMAV", "BOMD", "AIVP", "Z2SP", "HDRA", "HPCH", "DCOT", "PBTN", "PCIP"};
constexpr std::string_view kMonoCodes[] = {"MONO"};
constexpr std::string_view kSplitScreenCodes[] = {"SPSL"};
constexpr std::string_view kBoardCodes[] = {"HPCT"};
constexpr std::string_view kClassDCodes[] = {"OFSR", "OFSG", "OFSB", "ATOF"};
constexpr std::string_view kClassECodes[] = {"IDDP", "OPTS", "OPSD", "OPDD", "OPSL", "OPDL", "CPMD", "FCTL", "ENLG",
                                             "BZCO", "BZCT", "BZCB", "BZCR", "BZCL", "BPER", "CKDB", "DPIF", "EXCP",
                                             "IRMD", "TRID", "TXDP", "UGRW", "UGGW", "UGBW", "UGRR", "UGGR", "UGBR",
                                             "RUGR", "UGSV", "PATC", "BCLM", "BCLB", "BCLR"};
constexpr std::string_view kClassFCodes[] = {"DTFT", "TMFT", "ALTG", "BTSC", "LODI", "PWSV", "ANGA",
                                             "ANOF", "PTDF", "PTDR", "PTDG", "PTDB", "PHDR", "ADVR",
                                             "PDVR", "PDSR", "PBRR", "AHDR", "ASC2", "ASV2"};
constexpr std::string_view kSlotCodes[] = {"SLDS"};
constexpr std::string_view kStandbyCodes[] = {"STBM"};
constexpr std::string_view kPictureFilterCodes[] = {"PFIL", "QSPC", "QSAV"};
constexpr std::string_view kKind5Codes[] = {"HMDA"};
constexpr std::string_view kScanCodes[] = {"SCAN", "TALT"};
constexpr std::string_view kOrientationCodes[] = {"STDR"};
constexpr std::string_view kColorSystemCodes[] = {"CSYS"};
constexpr std::string_view kMotionCodes[] = {"SCSV", "MTIM", "MINT"};
constexpr std::string_view kTimerCodes[] = {"OFTM"};
constexpr std::string_view kDoubleSpeedCodes[] = {"DBSP"};
constexpr std::string_view kFunctionCodes[] = {"FNCM"};
constexpr std::string_view kGameModeCodes[] = {"GMDP"};
constexpr std::string_view kPixelCodes[] = {"PXSL"};
constexpr std::string_view kLockCodes[] = {"ALCK"};
constexpr std::string_view kBacklightModeCodes[] = {"BMOD"};
constexpr std::string_view kColorTemperatureCodes[] = {"CTMP"};
constexpr std::string_view kGammaCodes[] = {"GAMM"};
constexpr std::string_view kAudioSelectCodes[] = {"ASDP", "ASAP", "ASCP", "ASDA", "ASCA", "ASSA", "ASVA"};
constexpr std::string_view kAudioHdmiCodes[] = {"ASHP", "ASHA"};
constexpr std::string_view kAudioOutCodes[] = {"AOUT"};
constexpr std::string_view kResetCodes[] = {"RSET"};

bool isKind7Variant(ModelCode model, int variant)
{
    return isKind7(model) && model.variant() == variant;
}

// A kind-7 monitor without its expansion board; other kinds have no board to lack.
bool lacksBoard(ModelCode model)
{
    return isKind7(model) && model.lacksExpansionBoard();
}

bool hasOrientationChoice(ModelCode model)
{
    return TraitList(TRAIT_LIST_ORIENTATIONS, nullptr, 0, model.value()) >= 2;
}

bool hasFeature(ModelCode model, const char* feature)
{
    return TraitFeature(feature, model.value()) != 0;
}

bool kind8Accepts(std::string_view code, int parameter)
{
    if (code == "BMOD") {
        return parameter != 1 && parameter != 4;
    }
    return std::ranges::find(kKind8Codes, code) != std::end(kKind8Codes);
}

struct Rule
{
    Codes codes;
    bool (*accepts)(ModelCode model, int parameter);
};

// Tried in order after the unknown-model and kind-8 rows; the first rule naming the code decides. Codes
// that share a line of the table but not its exceptions ("MONO", "SPSL") have rules of their own.
constexpr Rule kRules[] = {
    {kClassACodes, [](ModelCode model, int) { return isClassA(model); }},
    {kClassBCodes, [](ModelCode model, int) { return isClassB(model); }},
    {kClassCCodes, [](ModelCode model, int) { return isClassC(model); }},
    {kMonoCodes, [](ModelCode model, int) { return isClassC(model) && !isKind7Variant(model, 6); }},
    {kSplitScreenCodes,
     [](ModelCode model, int) { return isClassC(model) && !isKind7Variant(model, 6) && !lacksBoard(model); }},
    {kBoardCodes, [](ModelCode model, int) { return isClassC(model) && !lacksBoard(model); }},
    {kClassDCodes, [](ModelCode model, int) { return isClassD(model); }},
    {kClassECodes, [](ModelCode model, int) { return isClassE(model); }},
    {kClassFCodes, [](ModelCode model, int) { return isClassF(model); }},
    {kSlotCodes, [](ModelCode model, int) { return isClassF(model) && isKind7(model) && model.variant() != 15; }},
    {kStandbyCodes, [](ModelCode model, int) { return model.kind() == 5 || isKind7(model); }},
    {kPictureFilterCodes,
     [](ModelCode model, int) {
         if (model.kind() == 3 || isKind7(model)) {
             return false;
         }
         return model.kind() != 5 || model.variant() != 3;
     }},
    {kKind5Codes, [](ModelCode model, int) { return model.kind() == 5; }},
    {kScanCodes, [](ModelCode model, int) { return model.kind() == 3 ? model.variant() != 1 : isClassB(model); }},
    {kOrientationCodes, [](ModelCode model, int) { return hasOrientationChoice(model); }},
    {kColorSystemCodes, [](ModelCode model, int) { return hasFeature(model, "colorsys"); }},
    {kMotionCodes, [](ModelCode model, int) { return hasFeature(model, "motion"); }},
    {kTimerCodes, [](ModelCode model, int) { return model.kind() == 6 || model.kind() == 3; }},
    {kDoubleSpeedCodes, [](ModelCode model, int) { return isKind7Variant(model, 1) || isKind7Variant(model, 5); }},
    {kFunctionCodes, [](ModelCode model, int) { return isKind7Variant(model, 6); }},
    {kGameModeCodes, [](ModelCode model, int) { return isKind7Variant(model, 5); }},
    {kPixelCodes, [](ModelCode model, int parameter) { return parameter < 7 || isClassB(model); }},
    {kLockCodes,
     [](ModelCode model, int parameter) { return !(model.kind() == 3 && model.variant() == 1 && parameter >= 2); }},
    {kBacklightModeCodes,
     [](ModelCode model, int parameter) {
         if (parameter == 1) {
             return model.kind() == 3;
         }
         if (parameter == 4) {
             return isClassF(model) && !isClassG(model) && !isKind7Variant(model, 15);
         }
         return true;
     }},
    {kColorTemperatureCodes,
     [](ModelCode model, int parameter) { return parameter == 99 || parameter <= 15 || isClassC(model); }},
    {kGammaCodes,
     [](ModelCode model, int parameter) {
         if (parameter <= 3) {
             return true;
         }
         return parameter <= 5 ? isClassC(model) : isKind7Variant(model, 6);
     }},
    {kAudioSelectCodes, [](ModelCode model, int) { return isClassC(model) && !lacksBoard(model); }},
    {kAudioHdmiCodes,
     [](ModelCode model, int parameter) { return isClassC(model) && (!lacksBoard(model) || parameter < 2); }},
    {kAudioOutCodes, [](ModelCode model, int parameter) { return parameter < 2 ? isClassA(model) : isClassD(model); }},
    {kResetCodes, [](ModelCode, int) { return true; }},
};

const Rule* findRule(std::string_view code)
{
    for (const Rule& rule : kRules) {
        if (std::ranges::find(rule.codes, code) != rule.codes.end()) {
            return &rule;
        }
    }
    return nullptr;
}

// The models that reset with "RSET0001" rather than "RSET0000".
bool resetsWithParameterOne(ModelCode model)
{
    return isClassB(model) && !lacksBoard(model);
}

void rewriteReset(std::span<char> itemText)
{
    constexpr char kReset[] = "RSET0001";
    if (itemText.size() >= sizeof kReset) {
        std::memcpy(itemText.data(), kReset, sizeof kReset);
    }
}

} // namespace

bool isCommandAvailable(ModelCode model, std::string_view command, std::span<char> itemText)
{
    if (model.kind() == 0) {
        return true;
    }
    const std::string_view code = commandCode(command);
    const int parameter = commandParameter(command);
    if (isKind8(model)) {
        return kind8Accepts(code, parameter);
    }
    const Rule* rule = findRule(code);
    if (rule == nullptr) {
        return true;
    }
    if (code == "RSET" && !itemText.empty() && resetsWithParameterOne(model)) {
        rewriteReset(itemText);
    }
    return rule->accepts(model, parameter);
}

} // namespace lumivane
