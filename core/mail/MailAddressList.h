#pragma once

#include "MailResult.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

inline constexpr const char* kMailAddressFileName = "EMailAddress.csv";

// Bits of MailAddress::kinds.
inline constexpr int kPeriodicalMailBit = 1; // "Send Periodical Mail"
inline constexpr int kErrorMailBit = 2;      // "Send Error Mail"

// One line of "EMailAddress.csv" in the data folder: "<address>,<kinds>".
struct MailAddress
{
    std::string address; // as the operator typed it
    int kinds = 0;

    bool operator==(const MailAddress&) const = default;
};

// Every line of the address file that holds any text, in file order (the console's list). A missing or
// unreadable file gives none. A missing or non-numeric kinds field reads as 0.
std::vector<MailAddress> loadAddressList();

// The addresses whose kinds have `kindBit` (1 reports, 2 error notices), in file order. The file is read
// anew on every call; an address that ValidateAddress() refuses is left out rather than handed to the
// mail program.
std::vector<std::string> LoadAddresses(int kindBit);

// Writes the address file whole. On failure: message 206 with the stop icon; the old file stays. An
// address with a comma, a line break or NUL would not read back as one address: such a list is refused
// with message 274 and the file is not touched.
MailResult SaveAddresses(const std::vector<MailAddress>& list);

// Accepts a text with exactly one at-sign that is neither its first nor its last character, and with no
// comma or control character (either would not survive the address file). Refused texts get message 274.
bool ValidateAddress(std::string_view text);

} // namespace lumivane
