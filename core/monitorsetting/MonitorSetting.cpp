#include "MonitorSetting.h"

#include "ModelClasses.h"
#include "traitbook.h"

namespace lumivane {
namespace {

ControlBlock controlDefaults(ModelCode model)
{
    ControlBlock block;
    if (model.kind() == 7 && (model.variant() == 3 || model.variant() == 7))
        block.VLMP = 25;
    else if (model.kind() == 7 && model.variant() == 4)
        block.VLMP = 23;
    return block;
}

PictureBlock pictureDefaults(ModelCode model, InputModeIndex input)
{
    const bool pc = isPcInput(input);
    const int32_t sharpness = isClassA(model) ? 12 : 10;
    const int32_t white = isClassA(model) ? 256 : 128;
    PictureBlock block;
    block.CONT = pc ? 30 : 0;
    block.BLVL = pc ? 30 : 0;
    block.TINT = 30;
    block.COLR = 30;
    block.SHRP = sharpness;
    block.GAMM = 1;
    block.CTMP = 13;
    block.CRTR = white;
    block.CRTG = white;
    block.CRTB = white;
    block.TDNR = 1;
    block.YCSP = 1;
    return block;
}

SetupBlock setupDefaults(ModelCode model, int language)
{
    SetupBlock block;
    block.MINT = 10;
    block.LANG = isClassA(model) ? language : 14;
    block.STBM = isClassC(model) ? 0 : 1;
    block.HDAW = 1;
    block.HPCT = 1;
    block.HPCH = 1;
    block.OPSL = 30;
    block.OPDL = 31;
    return block;
}

OptionBlock optionDefaults()
{
    OptionBlock block;
    block.QSAV = 1;
    block.AADJ = 1;
    block.PMNG = 1;
    block.AIVP = 1;
    const int32_t as[14] = {1, 1, 0, 1, 1, 2, 0, 3, 3, 3, 3, 0, 0, 0};
    for (int i = 0; i < 14; ++i)
        block.AS[i] = as[i];
    block.GMDP = 1;
    return block;
}

} // namespace

bool isPcSideInput(InputModeIndex index)
{
    const std::optional<int32_t> terminal = inputTerminal(index);
    if (!terminal || *terminal == kTerminalDsubComponent || *terminal == kTerminalDsubVideo)
        return false;
    return TraitTerminalName(*terminal) != nullptr;
}

void resetToDefaults(MONITOR_SETTING& setting, ModelCode model, InputModeIndex input, int language)
{
    setting.input = input;
    setting.control = controlDefaults(model);
    setting.picture = pictureDefaults(model, input);
    for (CmsBlock& block : setting.cms)
        block = CmsBlock{};
    setting.audio = AudioBlock{};
    setting.setup = setupDefaults(model, language);
    setting.option = optionDefaults();
    FunctionBlock function;
    function.TALT = 2;
    setting.function = function;
    setting.zrControl = ZrControlBlock{};
}

void markAllReceived(MONITOR_SETTING& setting)
{
    setting.control.received = 1;
    setting.picture.received = 1;
    for (CmsBlock& block : setting.cms)
        block.received = 1;
    setting.audio.received = 1;
    setting.setup.sensorReceived = 1;
    setting.setup.received = 1;
    setting.option.received = 1;
    setting.function.received = 1;
    setting.zrControl.received = 1;
}

bool usesZrControl(ModelCode model)
{
    return isKind6(model);
}

} // namespace lumivane
