// The exported functions of the panel store. Each one checks its handle against the open lists, works
// on the in-memory list, and reports failures through the last error text.
#include "tessera.h"

#include "SharedFile.h"
#include "StoreFiles.h"
#include "TesseraApp.h"
#include "Utf8.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <new>
#include <unistd.h>

using namespace lumivane;
using namespace lumivane::tessera;

namespace {

CTESSERAApp& app()
{
    return CTESSERAApp::instance();
}

// Starts a call that clears the last error and looks its handle up.
CPanelData* openPanel(TESSERA_PANEL handle)
{
    app().clearError();
    CPanelData* data = app().panel(handle);
    if (!data)
        app().setError("Invalid panel handle.");
    return data;
}

CGroupData* openGroup(TESSERA_GROUP handle)
{
    app().clearError();
    CGroupData* data = app().group(handle);
    if (!data)
        app().setError("Invalid group handle.");
    return data;
}

template <typename Record> bool validIndex(const std::vector<Record>& records, int index)
{
    return index >= 0 && static_cast<size_t>(index) < records.size();
}

template <size_t Width> void copyText(char (&to)[Width], const char (&from)[Width])
{
    copyToField(to, Width, std::string_view(from, strnlen(from, Width)));
}

// Copies field by field, so that texts without a terminating NUL are cut instead of overrun.
TESSERA_PANEL_DATA copyPanel(const TESSERA_PANEL_DATA& in)
{
    TESSERA_PANEL_DATA out = in;
    copyText(out.szName, in.szName);
    copyText(out.szReserved, in.szReserved);
    copyText(out.szModel, in.szModel);
    copyText(out.szSerialNo, in.szSerialNo);
    copyText(out.szMACAddress, in.szMACAddress);
    copyText(out.szUserName, in.szUserName);
    copyText(out.szPassword, in.szPassword);
    return out;
}

TESSERA_GROUP_DATA copyGroup(int32_t number, const char (&name)[258], int32_t parent)
{
    TESSERA_GROUP_DATA out{};
    out.nGroupNo = number;
    copyText(out.szName, name);
    out.nParentNo = parent;
    return out;
}

int deleteFile(const char* path, const char* what)
{
    app().clearError();
    if (!app().writeAllowed())
        return 0;
    if (path && removeFileNoFollow(path))
        return 1;
    std::string text = std::string(what) + "\n\n";
    if (path)
        text += systemErrorText(errno) + "\n" + path;
    app().setError(std::move(text));
    return 0;
}

// Reads a store file into a new list. Null when missing (no error text) or failed (error set).
template <typename Data, typename Parse>
std::unique_ptr<Data> loadFile(const char* path, const char* unknownText, const char* noMemoryText, Parse parse)
{
    if (path[0] == '\0') {
        app().setError(unknownText);
        return nullptr;
    }
    std::string content;
    const FileOutcome outcome = readStoreFile(path, content);
    if (outcome.kind == FileOutcome::Missing)
        return nullptr;
    if (outcome.kind == FileOutcome::Failed) {
        app().setError(outcome.error);
        return nullptr;
    }
    try {
        auto data = std::make_unique<Data>();
        parse(*data, content);
        data->path = path;
        return data;
    } catch (const std::bad_alloc&) {
        app().setError(noMemoryText);
        return nullptr;
    }
}

// Resolves the path of a save: the given one, or the remembered one.
const char* savePath(const char* path, const std::string& remembered, const char* unknownText, const char* noPathText)
{
    if (path == nullptr) {
        if (remembered.empty()) {
            app().setError(noPathText);
            return nullptr;
        }
        return remembered.c_str();
    }
    if (path[0] == '\0') {
        app().setError(unknownText);
        return nullptr;
    }
    return path;
}

bool writeFile(const char* path, const std::string& content)
{
    if (!app().writeAllowed())
        return false;
    const FileOutcome outcome = writeStoreFile(path, content);
    if (outcome.kind != FileOutcome::Ok) {
        app().setError(outcome.error);
        return false;
    }
    return true;
}

} // namespace

extern "C" {

TESSERA_API int TESSERA_Initialize(void)
{
    app().clearError();
    app().closeAll();
    app().openLock();
    return 1;
}

TESSERA_API int TESSERA_Uninitialize(void)
{
    app().clearError();
    app().closeAll();
    app().closeLock();
    return 1;
}

TESSERA_API const char* TESSERA_GetLastErrorMessage(void)
{
    return app().lastError();
}

TESSERA_API void TESSERA_ShowErrorMessage(int show)
{
    app().setShowErrors(show != 0);
}

TESSERA_API void TESSERA_Lock(void)
{
    app().lock();
}

TESSERA_API int TESSERA_LockWithin(int milliseconds)
{
    return app().lock(std::chrono::milliseconds(std::max(milliseconds, 0))) ? 1 : 0;
}

TESSERA_API void TESSERA_Unlock(void)
{
    app().unlock();
}

TESSERA_API void TESSERA_SetMessageHandler(void (*handler)(const char* caption, const char* text))
{
    app().setMessageHandler(handler);
}

// ---- panels

TESSERA_API TESSERA_PANEL TESSERA_OpenPanel(const char* path)
{
    app().clearError();
    if (path == nullptr) {
        try {
            return app().addPanel(std::make_unique<CPanelData>());
        } catch (const std::bad_alloc&) {
            app().setError("Cannot allocate the panel memory.");
            return nullptr;
        }
    }
    auto data =
        loadFile<CPanelData>(path, "Panel file is unknown.", "Cannot allocate the memory(panel data).",
                             [](CPanelData& d, std::string_view content) { d.panels = parsePanelFile(content); });
    return data ? app().addPanel(std::move(data)) : nullptr;
}

TESSERA_API int TESSERA_ClosePanel(TESSERA_PANEL panel)
{
    app().clearError();
    if (app().removePanel(panel))
        return 1;
    app().setError("Invalid panel handle.");
    return 0;
}

TESSERA_API int TESSERA_SavePanel(TESSERA_PANEL panel, const char* path)
{
    CPanelData* data = openPanel(panel);
    if (!data)
        return 0;
    const char* target = savePath(path, data->path, "Panel file is unknown.", "Invalid panel path (= NULL).");
    if (!target || !writeFile(target, formatPanelFile(data->panels)))
        return 0;
    data->path = target;
    return 1;
}

TESSERA_API int TESSERA_DeletePanel(const char* path)
{
    return deleteFile(path, "Delete Panel:");
}

TESSERA_API int TESSERA_GetPanelCount(TESSERA_PANEL panel)
{
    CPanelData* data = openPanel(panel);
    return data ? static_cast<int>(data->panels.size()) : 0;
}

TESSERA_API int TESSERA_GetPanelData(TESSERA_PANEL panel, int index, TESSERA_PANEL_DATA* out)
{
    CPanelData* data = openPanel(panel);
    if (!data)
        return 0;
    if (!validIndex(data->panels, index) || out == nullptr) {
        app().setError("Invalid panel number.");
        return 0;
    }
    *out = data->panels[static_cast<size_t>(index)];
    return 1;
}

TESSERA_API int TESSERA_SetPanelData(TESSERA_PANEL panel, int index, const TESSERA_PANEL_DATA* in)
{
    CPanelData* data = openPanel(panel);
    if (!data)
        return 0;
    if (!validIndex(data->panels, index) || in == nullptr) {
        app().setError("Invalid panel number.");
        return 0;
    }
    data->panels[static_cast<size_t>(index)] = copyPanel(*in);
    return 1;
}

TESSERA_API int TESSERA_InsertPanelData(TESSERA_PANEL panel, int index, const TESSERA_PANEL_DATA* in)
{
    CPanelData* data = openPanel(panel);
    if (!data)
        return 0;
    if (in == nullptr) {
        app().setError("Invalid panel number.");
        return 0;
    }
    auto& panels = data->panels;
    const size_t position = index < 0 ? panels.size() : std::min(static_cast<size_t>(index), panels.size());
    try {
        panels.insert(panels.begin() + static_cast<std::ptrdiff_t>(position), copyPanel(*in));
    } catch (const std::bad_alloc&) {
        app().setError("Cannot allocate the memory(panel data).");
        return 0;
    }
    return 1;
}

TESSERA_API int TESSERA_DeletePanelData(TESSERA_PANEL panel, int index)
{
    CPanelData* data = openPanel(panel);
    if (!data)
        return 0;
    if (index == -1) {
        data->panels.clear();
        return 1;
    }
    if (!validIndex(data->panels, index)) {
        app().setError("Invalid panel number.");
        return 0;
    }
    data->panels.erase(data->panels.begin() + index);
    return 1;
}

TESSERA_API int TESSERA_FindPanelData(TESSERA_PANEL panel, int number, TESSERA_PANEL_DATA* out)
{
    CPanelData* data = openPanel(panel);
    if (!data)
        return -1;
    for (size_t i = 0; i < data->panels.size(); ++i) {
        if (data->panels[i].nPanelNo == number) {
            if (out)
                *out = data->panels[i];
            return static_cast<int>(i);
        }
    }
    return -1;
}

// ---- groups

TESSERA_API TESSERA_GROUP TESSERA_OpenGroup(const char* path)
{
    app().clearError();
    if (path == nullptr) {
        try {
            return app().addGroup(std::make_unique<CGroupData>());
        } catch (const std::bad_alloc&) {
            app().setError("TESSERA_OpenGroup::Cannot allocate the group memory.");
            return nullptr;
        }
    }
    auto data = loadFile<CGroupData>(path, "Group file is unknown.", "Cannot allocate the memory(group data).",
                                     [](CGroupData& d, std::string_view content) { d.list = parseGroupFile(content); });
    return data ? app().addGroup(std::move(data)) : nullptr;
}

TESSERA_API int TESSERA_CloseGroup(TESSERA_GROUP group)
{
    app().clearError();
    if (app().removeGroup(group))
        return 1;
    app().setError("TESSERA_CloseGroup::Invalid group handle.");
    return 0;
}

TESSERA_API int TESSERA_SaveGroup(TESSERA_GROUP group, const char* path)
{
    CGroupData* data = openGroup(group);
    if (!data)
        return 0;
    const char* target =
        savePath(path, data->path, "Group file is unknown.", "TESSERA_SaveGroup::Invalid group path (= NULL).");
    if (!target || !writeFile(target, formatGroupFile(data->list)))
        return 0;
    data->path = target;
    return 1;
}

TESSERA_API int TESSERA_DeleteGroup(const char* path)
{
    return deleteFile(path, "Delete Group:");
}

TESSERA_API int TESSERA_GetGroupCount(TESSERA_GROUP group)
{
    CGroupData* data = openGroup(group);
    return data ? static_cast<int>(data->list.groups.size()) : 0;
}

TESSERA_API int TESSERA_GetGroupData(TESSERA_GROUP group, int index, TESSERA_GROUP_DATA* out)
{
    CGroupData* data = openGroup(group);
    if (!data)
        return 0;
    if (!validIndex(data->list.groups, index) || out == nullptr) {
        app().setError("TESSERA_GetGroupData::Invalid group number.");
        return 0;
    }
    *out = data->list.groups[static_cast<size_t>(index)];
    return 1;
}

TESSERA_API int TESSERA_SetGroupData(TESSERA_GROUP group, int index, const TESSERA_GROUP_DATA* in)
{
    CGroupData* data = openGroup(group);
    if (!data)
        return 0;
    if (!validIndex(data->list.groups, index) || in == nullptr) {
        app().setError("TESSERA_SetGroupData::Invalid group number.");
        return 0;
    }
    TESSERA_GROUP_DATA& record = data->list.groups[static_cast<size_t>(index)];
    if (in->nParentNo == record.nGroupNo) {
        app().setError("TESSERA_SetGroupData::Invalid parent group number.");
        return 0;
    }
    record = copyGroup(record.nGroupNo, in->szName, in->nParentNo);
    return 1;
}

TESSERA_API int TESSERA_InsertGroupData(TESSERA_GROUP group, int index, TESSERA_GROUP_DATA* in)
{
    CGroupData* data = openGroup(group);
    if (!data)
        return 0;
    if (in == nullptr) {
        app().setError("TESSERA_InsertGroupData::Invalid group number.");
        return 0;
    }
    auto& groups = data->list.groups;
    if (data->list.lastGroupNo == INT32_MAX) {
        app().setError("TESSERA_InsertGroupData::No group number is left.");
        return 0;
    }
    in->nGroupNo = ++data->list.lastGroupNo;
    const size_t position = index < 0 ? groups.size() : std::min(static_cast<size_t>(index), groups.size());
    try {
        groups.insert(groups.begin() + static_cast<std::ptrdiff_t>(position),
                      copyGroup(in->nGroupNo, in->szName, in->nParentNo));
    } catch (const std::bad_alloc&) {
        app().setError("Cannot allocate the memory(group data).");
        return 0;
    }
    return 1;
}

TESSERA_API int TESSERA_DeleteGroupData(TESSERA_GROUP group, int index)
{
    CGroupData* data = openGroup(group);
    if (!data)
        return 0;
    auto& groups = data->list.groups;
    if (index == -1) {
        groups.clear();
        return 1;
    }
    if (!validIndex(groups, index)) {
        app().setError("TESSERA_DeleteGroupData::Invalid group number.");
        return 0;
    }
    groups.erase(groups.begin() + index);
    return 1;
}

TESSERA_API int TESSERA_FindGroupData(TESSERA_GROUP group, int number, TESSERA_GROUP_DATA* out)
{
    CGroupData* data = openGroup(group);
    if (!data)
        return -1;
    const auto& groups = data->list.groups;
    for (size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].nGroupNo == number) {
            if (out)
                *out = groups[i];
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // extern "C"

namespace {

// First index at or after `from` (stepping by `step`) whose parent is `parent`, or -1.
int findByParent(const std::vector<TESSERA_GROUP_DATA>& groups, int from, int step, int32_t parent)
{
    for (int i = from; i >= 0 && static_cast<size_t>(i) < groups.size(); i += step)
        if (groups[static_cast<size_t>(i)].nParentNo == parent)
            return i;
    return -1;
}

// Runs a navigation step after the handle and index checks shared by the four navigation functions.
template <typename Step>
int navigate(TESSERA_GROUP group, int index, const char* badIndexText, bool allowRoot, Step step)
{
    CGroupData* data = openGroup(group);
    if (!data)
        return -1;
    const auto& groups = data->list.groups;
    if (!(allowRoot && index == -1) && !validIndex(groups, index)) {
        app().setError(badIndexText);
        return -1;
    }
    return step(groups);
}

} // namespace

extern "C" {

TESSERA_API int TESSERA_GetChildGroupNumber(TESSERA_GROUP group, int index)
{
    return navigate(group, index, "TESSERA_GetChildGroupNumber::Invalid group number.", true,
                    [index](const std::vector<TESSERA_GROUP_DATA>& groups) {
                        const int32_t parent = index == -1 ? 0 : groups[static_cast<size_t>(index)].nGroupNo;
                        return findByParent(groups, 0, 1, parent);
                    });
}

TESSERA_API int TESSERA_GetParentGroupNumber(TESSERA_GROUP group, int index)
{
    return navigate(group, index, "TESSERA_GetParentGroupNumber::Invalid group number.", false,
                    [index](const std::vector<TESSERA_GROUP_DATA>& groups) {
                        const int32_t parent = groups[static_cast<size_t>(index)].nParentNo;
                        if (parent == 0)
                            return -1;
                        for (size_t i = 0; i < groups.size(); ++i)
                            if (groups[i].nGroupNo == parent)
                                return static_cast<int>(i);
                        return -1;
                    });
}

TESSERA_API int TESSERA_GetNextSiblingGroupNumber(TESSERA_GROUP group, int index)
{
    return navigate(group, index, "TESSERA_GetNextSiblingGroupNumber::Invalid group number.", false,
                    [index](const std::vector<TESSERA_GROUP_DATA>& groups) {
                        return findByParent(groups, index + 1, 1, groups[static_cast<size_t>(index)].nParentNo);
                    });
}

TESSERA_API int TESSERA_GetPrevSiblingGroupNumber(TESSERA_GROUP group, int index)
{
    return navigate(group, index, "TESSERA_GetPrevSiblingGroupNumber::Invalid group number.", false,
                    [index](const std::vector<TESSERA_GROUP_DATA>& groups) {
                        return findByParent(groups, index - 1, -1, groups[static_cast<size_t>(index)].nParentNo);
                    });
}

} // extern "C"
