/* Compiled as C99 with -pedantic -Werror: the header must stay plain C. Also checks that the shared
 * library exports every declared operation, by calling each one through the dynamic linker. */
#include "traitbook.h"

#include <stdio.h>
#include <string.h>

static int failures = 0;

static void check(int condition, const char* what)
{
    if (!condition) {
        fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
}

int main(void)
{
    uint32_t code = 0;
    int32_t terminals[16];
    int32_t pair[2];
    int32_t number = -1;
    int32_t count;

    check(TraitLookup("QX-T988", &code) != 0, "TraitLookup knows QX-T988");
    check((code >> 16) == 7, "QX-T988 is of kind 7");
    count = TraitList(TRAIT_LIST_INPUT_TERMINALS, terminals, 16, code);
    check(count > 0 && count <= 16, "TraitList gives the input terminals");
    pair[0] = TRAIT_TERMINAL_DVI;
    pair[1] = 0;
    check(TraitToInputNumber(TRAIT_LIST_INPUT_TERMINALS, pair, code) != 0, "TraitToInputNumber maps DVI");
    check(TraitFromInputNumber(TRAIT_LIST_INPUT_TERMINALS, pair, code) != 0 && pair[0] == TRAIT_TERMINAL_DVI,
          "TraitFromInputNumber maps the number back");
    check(TraitTerminalName(TRAIT_TERMINAL_DVI) != NULL, "TraitTerminalName names DVI");
    check(TraitTerminalIsVideo(TRAIT_TERMINAL_VIDEO) != 0, "composite video is video");
    check(TraitFeature("motion", code) != 0, "QX-T988 has motion");
    check(TraitTerminalSelect(TRAIT_TERMINAL_DVI, &number, code) == TRAIT_SELECT_DVSL && number == 1,
          "DVI is selected with DVSL 1");
    check(TraitModelName(0) != NULL && strlen(TraitModelName(0)) > 0, "TraitModelName enumerates");
    return failures == 0 ? 0 : 1;
}
