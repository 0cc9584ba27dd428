// Feeds arbitrary text to the profile-file (ini) reader: every read answers, a written value
// reads back, and the text written reads back to the same values.
#include "platform/ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using quillon::TProfileFile;
    const std::string text(reinterpret_cast<const char*>(data), size);
    TProfileFile ini;
    ini.SetText(text);
    const std::string title = ini.ReadString("GMK_RT", "GameTitle", "Untitled");
    const std::int32_t mode = ini.ReadInteger("GMK_RT", "MapEditMode", 0);
    const bool flag = ini.ReadBool("GMK_RT", "FullPackageFlag", false);
    const std::string loose = ini.ReadString("", "RuntimePackagePath", "");

    // What the reader made of the text survives a write and a read of its own output.
    TProfileFile copy;
    copy.SetText(ini.Text());
    if (copy.ReadString("GMK_RT", "GameTitle", "Untitled") != title || copy.ReadInteger("GMK_RT", "MapEditMode", 0) != mode ||
        copy.ReadBool("GMK_RT", "FullPackageFlag", false) != flag || copy.ReadString("", "RuntimePackagePath", "") != loose)
        std::abort();

    ini.WriteString("GMK_RT", "GameTitle", "Fuzz");
    ini.WriteInteger("GMK_RT", "MapEditZoom", 3);
    ini.DeleteKey("GMK_RT", "FullPackageFlag");
    TProfileFile written;
    written.SetText(ini.Text());
    if (written.ReadString("GMK_RT", "GameTitle", "") != "Fuzz" || written.ReadInteger("GMK_RT", "MapEditZoom", 0) != 3 ||
        written.ValueExists("GMK_RT", "FullPackageFlag"))
        std::abort();
    return 0;
}
