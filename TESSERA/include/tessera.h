/* The panel store: the registered monitors ("panels") and their groups, their two files, and the
 * machine-wide lock that keeps the console and the server from changing those files at the same time.
 *
 * Records cross the boundary by value: the caller passes its own record and the library copies field by
 * field, cutting texts to their field width (width - 1 bytes, never splitting a UTF-8 character).
 * Handles are valid from open to close; the library accepts only handles it handed out and has not yet
 * closed. Calls of one process are expected from one thread at a time.
 *
 * Results: 1 success, 0 failure, -1 "not found" where noted. Most functions clear the last error text
 * first and set it on failure; TESSERA_GetLastErrorMessage never returns NULL. */
#ifndef TESSERA_H
#define TESSERA_H

#include <stdint.h>

#if defined(TESSERA_BUILDING)
#define TESSERA_API __attribute__((visibility("default")))
#else
#define TESSERA_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t TESSERA_BOOL;

typedef struct tagTESSERA_PANEL_DATA {
    int32_t nPanelNo;       /* key of the panel, shown as the "[%03d]" prefix of its name */
    int32_t nGroupNo;       /* 0: directly under the root */
    char szName[258];
    char szReserved[258];   /* kept and copied, never interpreted */
    char szModel[50];
    char szSerialNo[50];
    int32_t nMdelValue;
    int32_t nInterface;     /* 0 RS-232C, 1 LAN */
    uint32_t dwIPAddress;   /* first octet in the most significant byte */
    int32_t nDataPort;
    char szMACAddress[50];
    char szUserName[20];    /* plain text here; scrambled only in the file */
    char szPassword[20];
    int32_t nComPort;       /* 1 = COM1 */
    int32_t nBaudRate;
    int32_t nMonitorID;     /* daisy-chain ID 1..255, 0 none */
    TESSERA_BOOL bUse;
    TESSERA_BOOL bMonitoring;
    int32_t nStatusKey;
    TESSERA_BOOL bSchedule;
    int32_t nScheduleNo;
    int32_t nModelFlags;    /* bit 0 expansion board, bit 1 OPTS accepted */
} TESSERA_PANEL_DATA;

typedef struct tagTESSERA_GROUP_DATA {
    int32_t nGroupNo;       /* handed out by the library, never 0 */
    char szName[258];
    int32_t nParentNo;      /* 0: top level */
} TESSERA_GROUP_DATA;

typedef struct TESSERA_PANEL_OBJECT* TESSERA_PANEL;
typedef struct TESSERA_GROUP_OBJECT* TESSERA_GROUP;

/* Library */
TESSERA_API int TESSERA_Initialize(void);
TESSERA_API int TESSERA_Uninitialize(void);
TESSERA_API const char* TESSERA_GetLastErrorMessage(void);
TESSERA_API void TESSERA_ShowErrorMessage(int show);
/* Waits without limit for the machine-wide lock; recursive within a thread. When the lock cannot be taken
   (its file cannot be opened), saves and deletes of this thread fail with "Cannot lock the panel store: ..."
   until the matching TESSERA_Unlock. */
TESSERA_API void TESSERA_Lock(void);
/* The same with a time limit: 1 when the lock is held, 0 when it is not (then as TESSERA_Lock when it
   fails). Either way it is matched by one TESSERA_Unlock. */
TESSERA_API int TESSERA_LockWithin(int milliseconds);
TESSERA_API void TESSERA_Unlock(void);
/* Shows the store's error boxes. NULL restores the default: the text goes to standard error. */
TESSERA_API void TESSERA_SetMessageHandler(void (*handler)(const char* caption, const char* text));

/* Panels. Open with NULL gives an empty list; a path that does not exist gives NULL without error text. */
TESSERA_API TESSERA_PANEL TESSERA_OpenPanel(const char* path);
TESSERA_API int TESSERA_ClosePanel(TESSERA_PANEL panel);
TESSERA_API int TESSERA_SavePanel(TESSERA_PANEL panel, const char* path);
TESSERA_API int TESSERA_DeletePanel(const char* path);
TESSERA_API int TESSERA_GetPanelCount(TESSERA_PANEL panel);
TESSERA_API int TESSERA_GetPanelData(TESSERA_PANEL panel, int index, TESSERA_PANEL_DATA* out);
TESSERA_API int TESSERA_SetPanelData(TESSERA_PANEL panel, int index, const TESSERA_PANEL_DATA* in);
TESSERA_API int TESSERA_InsertPanelData(TESSERA_PANEL panel, int index, const TESSERA_PANEL_DATA* in);
TESSERA_API int TESSERA_DeletePanelData(TESSERA_PANEL panel, int index);
TESSERA_API int TESSERA_FindPanelData(TESSERA_PANEL panel, int number, TESSERA_PANEL_DATA* out);

/* Groups. The four navigation functions take and return list indexes, not group numbers. */
TESSERA_API TESSERA_GROUP TESSERA_OpenGroup(const char* path);
TESSERA_API int TESSERA_CloseGroup(TESSERA_GROUP group);
TESSERA_API int TESSERA_SaveGroup(TESSERA_GROUP group, const char* path);
TESSERA_API int TESSERA_DeleteGroup(const char* path);
TESSERA_API int TESSERA_GetGroupCount(TESSERA_GROUP group);
TESSERA_API int TESSERA_GetGroupData(TESSERA_GROUP group, int index, TESSERA_GROUP_DATA* out);
TESSERA_API int TESSERA_SetGroupData(TESSERA_GROUP group, int index, const TESSERA_GROUP_DATA* in);
TESSERA_API int TESSERA_InsertGroupData(TESSERA_GROUP group, int index, TESSERA_GROUP_DATA* in);
TESSERA_API int TESSERA_DeleteGroupData(TESSERA_GROUP group, int index);
TESSERA_API int TESSERA_FindGroupData(TESSERA_GROUP group, int number, TESSERA_GROUP_DATA* out);
TESSERA_API int TESSERA_GetChildGroupNumber(TESSERA_GROUP group, int index);
TESSERA_API int TESSERA_GetParentGroupNumber(TESSERA_GROUP group, int index);
TESSERA_API int TESSERA_GetNextSiblingGroupNumber(TESSERA_GROUP group, int index);
TESSERA_API int TESSERA_GetPrevSiblingGroupNumber(TESSERA_GROUP group, int index);

#ifdef __cplusplus
}
#endif

#endif /* TESSERA_H */
