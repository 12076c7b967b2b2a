#pragma once

#include "InputModes.h"
#include "ModelCode.h"

#include <cstdint>

namespace lumivane {

// The values of one monitor that the operation window shows, sends, receives and stores in setting
// files. Each value holds the parameter of the command of the same name. A block's received flag tells
// whether its values came from a monitor or a file since the defaults were last applied.

struct ControlBlock
{
    int32_t WIDE = 1;
    int32_t BMOD = 0;
    int32_t VLMP = 31;
    int32_t VOLM = 15;
    int32_t MUTE = 0;
    int32_t received = 0;
};

struct PictureBlock
{
    int32_t CONT = 0, BLVL = 0, TINT = 0, COLR = 0, SHRP = 0, GAMM = 0, CTMP = 0, CRTR = 0, CRTG = 0, CRTB = 0,
            FLES = 0, TDNR = 0, MPNR = 0, YCSP = 0, OFSR = 0, OFSG = 0, OFSB = 0;
    int32_t received = 0;
};

// Colour management of one quantity (hue, saturation or value) for red, green, blue, cyan, magenta and
// yellow, in that order.
struct CmsBlock
{
    int32_t colour[6] = {};
    int32_t received = 0;
};

struct AudioBlock
{
    int32_t AUTR = 0, AUBS = 0, AUBL = 0;
    int32_t received = 0;
};

struct SetupBlock
{
    int32_t SCSV = 0, MTIM = 0, MINT = 0, STDR = 0, LANG = 0, PFIL = 0, PWOD = 0, STBM = 0, HDAW = 0, MONO = 0,
            HDRA = 0, HPCT = 0, HPCH = 0, DCOT = 0, SPSL = 0, ATOF = 0, FNCM = 0;
    // Brightness sensor.
    int32_t OPTS = 0, OPSD = 0, OPDD = 0, OPSL = 0, OPDL = 0;
    int32_t sensorReceived = 0;
    int32_t received = 0;
};

struct OptionBlock
{
    int32_t QSPC = 0, QSAV = 0, CSYS = 0, AOUT = 0, AADJ = 0, PMNG = 0, HMDA = 0, SCAN = 0, OFTM = 0, PMAV = 0,
            DBSP = 0, AIVP = 0, Z2SP = 0;
    int32_t AS[14] = {}; // AS01 to AS14
    int32_t FCTL = 0, GMDP = 0;
    int32_t received = 0;
};

struct FunctionBlock
{
    int32_t ALCK = 0, LOSD = 0, OFLD = 0, TALT = 0, SALT = 0, PBTN = 0, PCIP = 0;
    int32_t received = 0;
};

// The CONTROL values of the ZR-1190 family.
struct ZrControlBlock
{
    int32_t AVMD = 7;
    int32_t VOLM = 20;
    int32_t WIDE = 4;
    int32_t MUTE = 2;
    int32_t ACSU = 2;
    int32_t received = 0;
};

enum CmsQuantity : int
{
    CmsHue = 0,
    CmsSaturation = 1,
    CmsValue = 2
};

struct MONITOR_SETTING
{
    int32_t power = 0; // 1 on, 0 off
    InputModeIndex input = kNoInput;
    ControlBlock control;
    PictureBlock picture;
    CmsBlock cms[3]; // by CmsQuantity
    AudioBlock audio;
    SetupBlock setup;
    OptionBlock option;
    FunctionBlock function;
    ZrControlBlock zrControl;
};

// Sets `input` and every block to the defaults for the model and that input, all received flags cleared;
// the power stays. `language` is the console's monitor-language setting, used for class A models.
void resetToDefaults(MONITOR_SETTING& setting, ModelCode model, InputModeIndex input, int language);

// Marks every block received (after a receive of all values).
void markAllReceived(MONITOR_SETTING& setting);

// A PC-side input: the model database names the terminal of the input (never 0, 12 or 13). The SIZE
// values and the colour-management lists depend on it.
bool isPcSideInput(InputModeIndex index);

// Whether the model is of the ZR-1190 family, whose CONTROL page and file layout differ.
bool usesZrControl(ModelCode model);

} // namespace lumivane
