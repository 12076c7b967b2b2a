#include "ModelTable.h"

#include "traitbook.h"

#include <algorithm>

namespace lumivane::traitbook {
namespace {

constexpr int32_t kDvi = TRAIT_TERMINAL_DVI;
constexpr int32_t kDsub = TRAIT_TERMINAL_DSUB;
constexpr int32_t kRgb = TRAIT_TERMINAL_RGB_5BNC;
constexpr int32_t kHdmi = TRAIT_TERMINAL_HDMI;
constexpr int32_t kVideo = TRAIT_TERMINAL_VIDEO;
constexpr int32_t kComponent = TRAIT_TERMINAL_COMPONENT;
constexpr int32_t kVideoSVideo = TRAIT_TERMINAL_VIDEO_SVIDEO;
constexpr int32_t kAvDvi = TRAIT_TERMINAL_AV_DVI;
constexpr int32_t kAvHdmi = TRAIT_TERMINAL_AV_HDMI;
constexpr int32_t kSVideo = TRAIT_TERMINAL_SVIDEO;
constexpr int32_t kUsb = TRAIT_TERMINAL_USB;

constexpr int32_t kNone = TRAIT_SELECT_NONE;
constexpr int32_t kDvsl = TRAIT_SELECT_DVSL;
constexpr int32_t kBnsl = TRAIT_SELECT_BNSL;
constexpr int32_t kHdsl = TRAIT_SELECT_HDSL;

// clang-format off

// Input numbers follow one scheme across the series: 1 DVI, 2 D-SUB (and its slot modes), 3 RGB, 4 HDMI,
// 5 Video, 6 Video/S-Video, 7 S-Video, 8 Component, 9 DVI (AV), 10 HDMI (AV), 11 USB. The shared DVI,
// HDMI and BNC connectors are switched between their PC and AV uses with DVSL, HDSL and BNSL.

constexpr Port kEntryPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kNone, 0},
    {kDsub,        0,   2,    kNone, 0},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
};

constexpr Port kBasicPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kNone, 0},
    {kDsub,        0,   2,    kNone, 0},
    {kRgb,         0,   3,    kNone, 0},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
    {kComponent,   0,   8,    kNone, 0},
};

// The plasma series shares one connector between composite and S-Video.
constexpr Port kPlasmaPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kNone, 0},
    {kDsub,        0,   2,    kNone, 0},
    {kRgb,         0,   3,    kNone, 0},
    {kVideoSVideo, 0,   6,    kNone, 0},
    {kComponent,   0,   8,    kNone, 0},
};

constexpr Port kMidPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kDvsl, 1},
    {kDsub,        0,   2,    kNone, 0},
    {kRgb,         0,   3,    kBnsl, 1},
    {kHdmi,        0,   4,    kNone, 0},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
    {kComponent,   0,   8,    kBnsl, 2},
    {kAvDvi,       0,   9,    kDvsl, 2},
};

constexpr Port kFullPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kDvsl, 1},
    {kDsub,        0,   2,    kNone, 0},
    {kRgb,         0,   3,    kBnsl, 1},
    {kHdmi,        0,   4,    kHdsl, 1},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
    {kComponent,   0,   8,    kBnsl, 2},
    {kAvDvi,       0,   9,    kDvsl, 2},
    {kAvHdmi,      0,   10,   kHdsl, 2},
};

// Older professional panels: no HDMI yet.
constexpr Port kProNoHdmiPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kDvsl, 1},
    {kDsub,        0,   2,    kNone, 0},
    {kRgb,         0,   3,    kBnsl, 1},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
    {kComponent,   0,   8,    kBnsl, 2},
    {kAvDvi,       0,   9,    kDvsl, 2},
};

// Professional panels whose D-SUB connector also takes component (slot 1) and composite video (slot 2).
constexpr Port kProDsubAvPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kDvsl, 1},
    {kDsub,        0,   2,    kNone, 0},
    {kComponent,   1,   2,    kBnsl, 2},
    {kVideo,       2,   2,    kNone, 0},
    {kRgb,         0,   3,    kBnsl, 1},
    {kHdmi,        0,   4,    kHdsl, 1},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
    {kComponent,   0,   8,    kBnsl, 2},
    {kAvDvi,       0,   9,    kDvsl, 2},
    {kAvHdmi,      0,   10,   kHdsl, 2},
};

constexpr Port kProDsubAvUsbPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kDvsl, 1},
    {kDsub,        0,   2,    kNone, 0},
    {kComponent,   1,   2,    kBnsl, 2},
    {kVideo,       2,   2,    kNone, 0},
    {kRgb,         0,   3,    kBnsl, 1},
    {kHdmi,        0,   4,    kHdsl, 1},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
    {kComponent,   0,   8,    kBnsl, 2},
    {kAvDvi,       0,   9,    kDvsl, 2},
    {kAvHdmi,      0,   10,   kHdsl, 2},
    {kUsb,         0,   11,   kNone, 0},
};

constexpr Port kProUsbPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kDvsl, 1},
    {kDsub,        0,   2,    kNone, 0},
    {kRgb,         0,   3,    kBnsl, 1},
    {kHdmi,        0,   4,    kHdsl, 1},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
    {kComponent,   0,   8,    kBnsl, 2},
    {kAvDvi,       0,   9,    kDvsl, 2},
    {kAvHdmi,      0,   10,   kHdsl, 2},
    {kUsb,         0,   11,   kNone, 0},
};

constexpr Port kEconomyPorts[] = {
    // terminal    slot input select number
    {kDsub,        0,   2,    kNone, 0},
    {kHdmi,        0,   4,    kNone, 0},
    {kVideo,       0,   5,    kNone, 0},
    {kUsb,         0,   11,   kNone, 0},
};

// Video-wall processors: inputs only, no panel of their own.
constexpr Port kProcessorPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kNone, 0},
    {kDsub,        0,   2,    kNone, 0},
    {kHdmi,        0,   4,    kNone, 0},
};

// The ZR-1190 numbers its inputs 1 to 7.
constexpr Port kZrPorts[] = {
    // terminal    slot input select number
    {kHdmi,        0,   1,    kNone, 0},
    {kDvi,         0,   2,    kNone, 0},
    {kDsub,        0,   3,    kNone, 0},
    {kComponent,   0,   4,    kNone, 0},
    {kVideo,       0,   5,    kNone, 0},
    {kSVideo,      0,   6,    kNone, 0},
    {kUsb,         0,   7,    kNone, 0},
};

// Every terminal of the scheme, for monitors whose model is not known.
constexpr Port kGenericPorts[] = {
    // terminal    slot input select number
    {kDvi,         0,   1,    kDvsl, 1},
    {kDsub,        0,   2,    kNone, 0},
    {kComponent,   1,   2,    kBnsl, 2},
    {kVideo,       2,   2,    kNone, 0},
    {kRgb,         0,   3,    kBnsl, 1},
    {kHdmi,        0,   4,    kHdsl, 1},
    {kVideo,       0,   5,    kNone, 0},
    {kVideoSVideo, 0,   6,    kNone, 0},
    {kSVideo,      0,   7,    kNone, 0},
    {kComponent,   0,   8,    kBnsl, 2},
    {kAvDvi,       0,   9,    kDvsl, 2},
    {kAvHdmi,      0,   10,   kHdsl, 2},
    {kUsb,         0,   11,   kNone, 0},
};

// Screen orientations ("STDR"): 0 landscape, 1 portrait, 2 landscape upside down, 3 portrait upside down.
constexpr std::span<const int32_t> kNoRotation{};
constexpr int32_t kLandscape[] = {0};
constexpr int32_t kLandscapePortrait[] = {0, 1};
constexpr int32_t kAllOrientations[] = {0, 1, 2, 3};

constexpr uint32_t kColor = kColorSystem;
constexpr uint32_t kColorMotion = kColorSystem | kMotion;

constexpr Model kModels[] = {
    // name        kind var ports                orientations                            features
    // Entry series
    {"QX-A32",     1,   1,  kEntryPorts,         kNoRotation,                           kColor},
    {"QX-A40",     1,   2,  kEntryPorts,         kNoRotation,                           kColor},
    {"QX-A46",     1,   3,  kEntryPorts,         kLandscape,                             kColor},
    // Basic series
    {"QX-B42",     2,   1,  kBasicPorts,         kLandscape,                             kColor},
    {"QX-B47",     2,   2,  kBasicPorts,         kLandscapePortrait,                     kColor},
    // Plasma series; the QX-P42 lacks the scan and lock modes of its successors
    {"QX-P42",     3,   1,  kPlasmaPorts,        kLandscape,                             kColorMotion},
    {"QX-P50",     3,   2,  kPlasmaPorts,        kLandscapePortrait,                     kColorMotion},
    {"QX-P61",     3,   3,  kPlasmaPorts,        kLandscapePortrait,                     kColorMotion},
    // Mid series
    {"QX-M40",     4,   1,  kMidPorts,           kLandscape,                             kColor},
    {"QX-M46",     4,   2,  kMidPorts,           kLandscapePortrait,                     kColor},
    // S series
    {"QX-S40",     5,   1,  kFullPorts,          kLandscapePortrait,                     kColor},
    {"QX-S46",     5,   2,  kFullPorts,          kLandscapePortrait,                     kColorMotion},
    {"QX-S52",     5,   3,  kFullPorts,          kLandscapePortrait,                     kColor},
    // ZR-1190 family (stored as "Brela")
    {"Brela",      6,   1,  kZrPorts,            kLandscape,                             kColor},
    // Professional T series: the variant says which generation of controls the panel has
    {"QX-T401",    7,   1,  kProNoHdmiPorts,     kLandscape,                             kColor},
    {"QX-T461",    7,   2,  kProNoHdmiPorts,     kLandscapePortrait,                     kColor},
    {"QX-T521",    7,   3,  kProNoHdmiPorts,     kLandscapePortrait,                     kColor},
    {"QX-T571",    7,   4,  kProNoHdmiPorts,     kLandscapePortrait,                     kColor},
    {"QX-T402",    7,   5,  kFullPorts,          kLandscapePortrait,                     kColor},
    {"QX-T655",    7,   6,  kFullPorts,          kAllOrientations,                       kColorMotion},
    {"QX-T462",    7,   7,  kFullPorts,          kLandscapePortrait,                     kColor},
    {"QX-T702",    7,   8,  kFullPorts,          kLandscapePortrait,                     kColorMotion},
    {"QX-T463",    7,   9,  kProDsubAvPorts,     kLandscapePortrait,                     kColor},
    {"QX-T553",    7,   10, kProDsubAvPorts,     kLandscapePortrait,                     kColorMotion},
    {"QX-T988",    7,   11, kProDsubAvUsbPorts,  kAllOrientations,                       kColorMotion},
    {"QX-T989B",   7,   12, kProDsubAvUsbPorts,  kAllOrientations,                       kColorMotion},
    {"QX-T464",    7,   13, kProDsubAvUsbPorts,  kLandscapePortrait,                     kColor},
    {"QX-T554",    7,   14, kProDsubAvUsbPorts,  kLandscapePortrait,                     kMotion},
    {"QX-T823",    7,   15, kProUsbPorts,        kLandscapePortrait,                     kMotion},
    {"QX-T990",    7,   16, kProDsubAvUsbPorts,  kAllOrientations,                       kColorMotion},
    {"QX-T465",    7,   17, kProDsubAvUsbPorts,  kLandscapePortrait,                     kNoFeature},
    {"QX-T555",    7,   18, kProDsubAvUsbPorts,  kLandscapePortrait,                     kMotion},
    // Economy series
    {"QX-E43",     8,   1,  kEconomyPorts,       kLandscapePortrait,                     kNoFeature},
    {"QX-E49",     8,   2,  kEconomyPorts,       kLandscapePortrait,                     kNoFeature},
    {"QX-E55",     8,   3,  kEconomyPorts,       kLandscapePortrait,                     kNoFeature},
    // Video-wall processors
    {"QX-VP4",     100, 1,  kProcessorPorts,     kLandscape,                             kNoFeature},
    {"QX-VP8",     100, 2,  kProcessorPorts,     kLandscape,                             kNoFeature},
};

constexpr Model kGenericModel = {"", 0, 0, kGenericPorts, kLandscape, kNoFeature};

constexpr Terminal kTerminals[] = {
    // id            name          video
    {kDvi,           "DVI-D",      false},
    {kDsub,          "D-SUB",      false},
    {kRgb,           "RGB",        false},
    {kHdmi,          "HDMI",       false},
    {kVideo,         nullptr,      true},
    {kComponent,     nullptr,      true},
    {kVideoSVideo,   nullptr,      true},
    {kAvDvi,         "DVI-D",      true},
    {kAvHdmi,        "HDMI",       true},
    {kSVideo,        nullptr,      true},
    {kUsb,           nullptr,      true},
};
// clang-format on

} // namespace

std::span<const Model> models()
{
    return kModels;
}

const Model& genericModel()
{
    return kGenericModel;
}

std::span<const Terminal> terminals()
{
    return kTerminals;
}

const Model* findModel(std::string_view name)
{
    auto found = std::ranges::find_if(kModels, [name](const Model& model) { return model.name == name; });
    return found == std::end(kModels) ? nullptr : found;
}

const Model* findModel(uint32_t code)
{
    const uint32_t kind = code >> 16;
    const uint32_t variant = code & 0xFF;
    if (kind == 0) {
        return &kGenericModel;
    }
    auto found = std::ranges::find_if(
        kModels, [kind, variant](const Model& model) { return model.kind == kind && model.variant == variant; });
    return found == std::end(kModels) ? nullptr : found;
}

const Terminal* findTerminal(int32_t id)
{
    auto found = std::ranges::find_if(kTerminals, [id](const Terminal& terminal) { return terminal.id == id; });
    return found == std::end(kTerminals) ? nullptr : found;
}

} // namespace lumivane::traitbook
