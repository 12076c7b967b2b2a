/* Traitbook: what each display model supports. A model is named by its model name (as the monitor reports
 * it) and, once looked up, by its 32-bit code: kind in bits 16-31 (0 = not known), variant in bits 0-7.
 * Bits 8-15 of a code passed in are ignored, so a caller may keep its own flags there.
 *
 * Every call is safe with any argument: NULL pointers, unknown codes and unknown categories make a call
 * fail (0, or NULL for texts). Texts returned are static and never freed. All calls are thread-safe. */
#ifndef TRAITBOOK_H
#define TRAITBOOK_H

#include <stdint.h>

#if defined(TRAITBOOK_BUILDING)
#define TRAITBOOK_API __attribute__((visibility("default")))
#else
#define TRAITBOOK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Lists of TraitList. */
enum {
    TRAIT_LIST_INPUT_TERMINALS = 2, /* the model's input terminals (terminal ids) */
    TRAIT_LIST_ORIENTATIONS = 8     /* the screen orientations the model offers ("STDR" values) */
};

/* Terminal ids. */
enum {
    TRAIT_TERMINAL_DVI = 0,            /* DVI-D, PC signal */
    TRAIT_TERMINAL_DSUB = 2,           /* D-SUB (VGA) */
    TRAIT_TERMINAL_RGB_5BNC = 3,       /* RGB on five BNC connectors */
    TRAIT_TERMINAL_HDMI = 4,           /* HDMI, PC signal */
    TRAIT_TERMINAL_VIDEO = 256,        /* composite video */
    TRAIT_TERMINAL_COMPONENT = 257,    /* component video on three BNC connectors */
    TRAIT_TERMINAL_VIDEO_SVIDEO = 260, /* combined composite / S-Video input */
    TRAIT_TERMINAL_AV_DVI = 261,       /* DVI-D, video signal */
    TRAIT_TERMINAL_AV_HDMI = 262,      /* HDMI, video signal */
    TRAIT_TERMINAL_SVIDEO = 263,
    TRAIT_TERMINAL_USB = 264 /* media player on the USB port */
};

/* Answers of TraitTerminalSelect: the command that switches a shared connector to the terminal. */
enum { TRAIT_SELECT_NONE = 0, TRAIT_SELECT_DVSL = 1, TRAIT_SELECT_BNSL = 2, TRAIT_SELECT_HDSL = 3 };

/* Finds a model by its exact, case-sensitive name. Returns non-zero and stores the model's code when the
 * name is known; returns 0 and leaves *code as it was otherwise. */
TRAITBOOK_API int32_t TraitLookup(const char* modelName, uint32_t* code);

/* The entries of list `category` for the model `code`. Returns the number of entries; when `buffer` is
 * not NULL, stores the first min(count, capacity) of them there. 0 for an unknown model or category. */
TRAITBOOK_API int32_t TraitList(int32_t category, int32_t* buffer, int32_t capacity, uint32_t code);

/* pair[0]: terminal id in, the model's input number out; pair[1]: the slot in which the terminal is
 * reached (0 for the terminal itself, 1 or 2 for the component and video modes of a D-SUB connector).
 * `category` must be TRAIT_LIST_INPUT_TERMINALS. Non-zero on success; pair is left as it was on failure. */
TRAITBOOK_API int32_t TraitToInputNumber(int32_t category, int32_t* pair, uint32_t code);

/* pair[0]: the model's input number in, terminal id out; pair[1]: the slot the monitor reports for its
 * D-SUB connector in (0 when not known), the slot of the terminal out. A number shared by several slots
 * gives the one named by the slot passed in, else the first. Non-zero on success; pair is left as it was
 * on failure. */
TRAITBOOK_API int32_t TraitFromInputNumber(int32_t category, int32_t* pair, uint32_t code);

/* The name of a terminal that carries a pixel-timed (computer-style) signal: DVI, D-SUB, RGB, HDMI.
 * NULL for the analogue video terminals and USB, which report no resolution, and for unknown ids. */
TRAITBOOK_API const char* TraitTerminalName(int32_t terminal);

/* Non-zero for a terminal that counts as video (AV) rather than PC. */
TRAITBOOK_API int32_t TraitTerminalIsVideo(int32_t terminal);

/* Non-zero when the model has the feature: "colorsys" (colour system choice for analogue video) or
 * "motion" (picture shift against burn-in). */
TRAITBOOK_API int32_t TraitFeature(const char* feature, uint32_t code);

/* How the model switches its shared connector to `terminal`: one of TRAIT_SELECT_*, with the value to
 * send stored in *number (left as it was for TRAIT_SELECT_NONE). `number` may be NULL. */
TRAITBOOK_API int32_t TraitTerminalSelect(int32_t terminal, int32_t* number, uint32_t code);

/* The name of the index-th model (0-based) of the model list, NULL past its end. */
TRAITBOOK_API const char* TraitModelName(int32_t index);

#ifdef __cplusplus
}
#endif

#endif /* TRAITBOOK_H */
