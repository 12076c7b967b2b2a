/* The store's header as a C program sees it: it must compile cleanly and its records keep their sizes. */
#include "tessera.h"

#include <stddef.h>
#include <stdio.h>
#include <string.h>

int main(void)
{
    TESSERA_PANEL_DATA panel;
    TESSERA_PANEL list;
    int ok;
    memset(&panel, 0, sizeof panel);
    panel.nPanelNo = 1;
    strcpy(panel.szName, "[001]");
    if (offsetof(TESSERA_PANEL_DATA, szName) != 8 || sizeof(((TESSERA_GROUP_DATA*)0)->szName) != 258)
        return 1;
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0);
    list = TESSERA_OpenPanel(NULL);
    ok = list != NULL && TESSERA_InsertPanelData(list, -1, &panel) == 1 && TESSERA_GetPanelCount(list) == 1 &&
         TESSERA_FindPanelData(list, 1, NULL) == 0 && TESSERA_ClosePanel(list) == 1;
    TESSERA_Uninitialize();
    printf("%s\n", ok ? "ok" : TESSERA_GetLastErrorMessage());
    return ok ? 0 : 1;
}
