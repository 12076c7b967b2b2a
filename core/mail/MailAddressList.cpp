#include "MailAddressList.h"

#include "CCsvLineFile.h"
#include "DataFolder.h"
#include "Strings.h"

#include <algorithm>

namespace lumivane {

std::vector<MailAddress> loadAddressList()
{
    std::vector<MailAddress> list;
    CCsvLineFile file;
    const std::string path = dataFilePath(kMailAddressFileName, false);
    if (path.empty() || !file.openRead(path))
        return list;
    while (file.readLine()) {
        if (file.currentLine().empty())
            continue;
        MailAddress entry;
        if (!file.nextField(entry.address))
            entry.address.clear();
        entry.kinds = file.nextInt(0);
        list.push_back(std::move(entry));
    }
    return list;
}

std::vector<std::string> LoadAddresses(int kindBit)
{
    std::vector<std::string> addresses;
    for (MailAddress& entry : loadAddressList())
        if ((entry.kinds & kindBit) != 0 && ValidateAddress(entry.address))
            addresses.push_back(std::move(entry.address));
    return addresses;
}

MailResult SaveAddresses(const std::vector<MailAddress>& list)
{
    MailResult result;
    constexpr std::string_view kBreaksLine(",\r\n\0", 4); // a comma ends the address field
    for (const MailAddress& entry : list) {
        if (entry.address.find_first_of(kBreaksLine) != std::string::npos) {
            result.ok = false;
            result.message = kInvalidAddressMessage;
            result.stopIcon = true;
            result.text = messageText(kInvalidAddressMessage);
            result.detail = "an address holds a comma, a line break or NUL";
            return result;
        }
    }
    CCsvLineFile file;
    const std::string path = dataFilePath(kMailAddressFileName, true);
    bool written = !path.empty() && file.openWrite(path);
    for (size_t i = 0; written && i < list.size(); ++i)
        written = file.writeLine(list[i].address + "," + std::to_string(list[i].kinds));
    if (file.isOpen() && !file.close())
        written = false;
    if (!written) {
        result.ok = false;
        result.message = kAddressFileErrorMessage;
        result.stopIcon = true;
        result.text = messageText(kAddressFileErrorMessage);
        result.detail = path.empty() ? "the data folder is unknown" : path + ": " + file.lastError();
    }
    return result;
}

bool ValidateAddress(std::string_view text)
{
    const size_t at = text.find('@');
    if (at == std::string_view::npos || at == 0 || at + 1 == text.size() ||
        text.find('@', at + 1) != std::string_view::npos)
        return false;
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == ',' || byte < 0x20 || byte == 0x7F;
    });
}

} // namespace lumivane
