// Any bytes as a shared CSV file: every line and field is read without crashing, and a line written
// reads back as it was.
#include "CCsvLineFile.h"
#include "FuzzFiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using lumivane::CCsvLineFile;
    const std::string path =
        lumivane::fuzz::scratch().write("fuzz.csv", std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> fields;
    {
        CCsvLineFile file;
        if (!file.openRead(path))
            return 0;
        while (file.readLine()) {
            std::string field;
            while (file.nextField(field))
                fields.push_back(field);
            file.nextInt(0);
        }
        file.close();
    }
    return 0;
}
