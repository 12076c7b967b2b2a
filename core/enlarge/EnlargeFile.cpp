#include "EnlargeFile.h"

#include "CCsvLineFile.h"
#include "Strings.h"

#include <vector>

namespace lumivane {
namespace {

// Sides beyond this need the wider size coding of version 2.
constexpr int kLargestVersion1Side = 5;
// The widest side either coding can carry: H × 100 + V keeps V below 100.
constexpr int kLargestFileSide = 99;

int sizeFactor(int version)
{
    return version == 1 ? 10 : 100;
}

void addPair(std::vector<std::string>& fields, const char* key, int32_t value)
{
    fields.emplace_back(key);
    fields.push_back(std::to_string(value));
}

// The value of the next key, value pair, whatever the key: the file is read by position.
int32_t nextValue(CCsvLineFile& file)
{
    std::string key;
    file.nextField(key);
    return file.nextInt(0);
}

struct FileHeader
{
    int version = 0;
    int h = 0;
    int v = 0;
    WallOrientation orientation = WallOrientation::Landscape;
    int bezelH = 0;
    int bezelV = 0;
    bool groupMode = false;
};

EnlargeFileStatus readHeader(CCsvLineFile& file, FileHeader& header)
{
    std::string mark;
    if (!file.readLine() || !file.nextField(mark) || mark != kEnlargeFileMark)
        return EnlargeFileStatus::Broken;
    header.version = file.nextInt(0);
    if (header.version != 1 && header.version != 2)
        return EnlargeFileStatus::UnsupportedVersion;
    if (!file.readLine())
        return EnlargeFileStatus::Broken;
    const int32_t size = nextValue(file);
    header.h = size / sizeFactor(header.version);
    header.v = size % sizeFactor(header.version);
    header.orientation = nextValue(file) == 1 ? WallOrientation::Portrait : WallOrientation::Landscape;
    header.bezelH = nextValue(file);
    header.bezelV = nextValue(file);
    if (header.version == 2)
        header.groupMode = nextValue(file) != 0;
    // A size no grid can have would leave a layout without cells.
    if (header.h < 1 || header.v < 1 || header.h > kLargestFileSide)
        return EnlargeFileStatus::Broken;
    return EnlargeFileStatus::Ok;
}

} // namespace

std::string enlargeFileMessage(EnlargeFileStatus status, const std::string& path)
{
    switch (status) {
    case EnlargeFileStatus::Ok:
        return "";
    case EnlargeFileStatus::CannotOpen:
        return formatMessage(199, path.c_str());
    case EnlargeFileStatus::Broken:
        return messageText(200);
    case EnlargeFileStatus::UnsupportedVersion:
        return messageText(201);
    }
    return "";
}

int enlargeFileVersion(const EnlargeLayout& layout)
{
    const bool wide = layout.columns() > kLargestVersion1Side || layout.rows() > kLargestVersion1Side;
    return layout.groupMode() || wide ? 2 : 1;
}

EnlargeFileStatus writeEnlargeFile(const std::string& path, const EnlargeLayout& layout,
                                   const std::function<bool(int32_t panelNo)>& isPresent)
{
    const int version = enlargeFileVersion(layout);
    CCsvLineFile file;
    if (!file.openWrite(path))
        return EnlargeFileStatus::CannotOpen;
    std::vector<std::string> fields;
    addPair(fields, kEnlargeFileMark, version);
    bool written = file.writeLine(fields);

    fields.clear();
    addPair(fields, "EMHV", layout.columns() * sizeFactor(version) + layout.rows());
    addPair(fields, "Orientation", static_cast<int32_t>(layout.orientation()));
    addPair(fields, "BEZH", layout.bezelH());
    addPair(fields, "BEZV", layout.bezelV());
    if (version == 2)
        addPair(fields, "MLEN", layout.groupMode() ? 1 : 0);
    written = written && file.writeLine(fields);

    for (int i = 0; i < layout.cellCount(); ++i) {
        const WallCell& cell = layout.cell(i);
        if (!cell.monitor || (isPresent && !isPresent(cell.monitor->panelNo)))
            continue;
        fields.clear();
        addPair(fields, "Monitor", cell.monitor->panelNo);
        addPair(fields, "EPOS", i);
        addPair(fields, "EPSH", cell.shiftH);
        addPair(fields, "EPSV", cell.shiftV);
        if (version == 2)
            for (const GroupRecordKey& key : kGroupRecordKeys)
                addPair(fields, key.key, cell.group.*key.value);
        written = written && file.writeLine(fields);
    }
    return file.close() && written ? EnlargeFileStatus::Ok : EnlargeFileStatus::CannotOpen;
}

EnlargeFileReading readEnlargeFile(const std::string& path, const WallMonitorLookup& lookup, EnlargeLayout& layout)
{
    EnlargeFileReading reading;
    CCsvLineFile file;
    if (!file.openRead(path)) {
        reading.status = EnlargeFileStatus::CannotOpen;
        return reading;
    }
    FileHeader header;
    reading.status = readHeader(file, header);
    if (reading.status != EnlargeFileStatus::Ok)
        return reading;

    EnlargeLayout loaded;
    loaded.recreate(header.h, header.v, header.orientation);
    loaded.setBezels(header.bezelH, header.bezelV);
    loaded.setGroupMode(header.groupMode);
    while (file.readLine()) {
        const int32_t panelNo = nextValue(file);
        const int32_t index = nextValue(file);
        WallCell read;
        read.shiftH = nextValue(file);
        read.shiftV = nextValue(file);
        if (header.version == 2)
            for (const GroupRecordKey& key : kGroupRecordKeys)
                read.group.*key.value = nextValue(file);
        const std::optional<WallMonitor> monitor = lookup ? lookup(panelNo) : std::nullopt;
        // One monitor shows one part of the picture: a second line for its cell or for it is passed over.
        if (!monitor || !loaded.isCell(index) || loaded.cell(index).holdsMonitor() || loaded.cellOf(panelNo)) {
            ++reading.passedOver;
            continue;
        }
        if (header.version == 1)
            read.group = loaded.cell(index).group;
        read.monitor = monitor;
        loaded.cell(index) = read;
    }
    file.close();
    layout = loaded;
    return reading;
}

} // namespace lumivane
