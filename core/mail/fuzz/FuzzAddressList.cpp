// Any bytes as the mail address file: reading must not crash, and a list read (without the addresses the
// file format cannot hold) saves and reads back the same.
#include "FuzzFiles.h"
#include "MailAddressList.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lumivane;
    fuzz::scratch().write(kMailAddressFileName, std::string_view(reinterpret_cast<const char*>(data), size));
    LoadAddresses(kErrorMailBit);
    std::vector<MailAddress> list = loadAddressList();
    std::erase_if(list, [](const MailAddress& entry) { return entry.address.empty(); });
    if (SaveAddresses(list) && loadAddressList() != list)
        std::abort();
    return 0;
}
