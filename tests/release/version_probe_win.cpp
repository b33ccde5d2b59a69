// Prints what Windows itself reads from a program file's version resource and
// manifest, the data that Explorer's Properties dialog shows:
//   fixed: FILEVERSION PRODUCTVERSION FILETYPE   (each as a.b.c.d or a number)
//   <string name>=<value>                        (every string of the first translation)
//   manifest:                                    followed by the manifest's text
// Exit code 1 when the file has no version resource or no manifest.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void PrintVersion(const char* label, DWORD high, DWORD low) {
    std::printf("%s=%u.%u.%u.%u\n", label, HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
}

bool PrintVersionResource(const char* path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return false;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data())) return false;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length))
        return false;
    PrintVersion("fixed:FILEVERSION", fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    PrintVersion("fixed:PRODUCTVERSION", fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    std::printf("fixed:FILETYPE=%lu\n", static_cast<unsigned long>(fixed->dwFileType));

    // Explorer shows the strings of the first translation listed.
    WORD* translation = nullptr;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < 2 * sizeof(WORD))
        return false;
    std::printf("translation=%04x%04x\n", translation[0], translation[1]);
    for (const char* name :
         {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
          "OriginalFilename", "ProductName", "ProductVersion"}) {
        char query[96];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation[0],
                      translation[1], name);
        char* value = nullptr;
        if (VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) &&
            length > 0)
            std::printf("%s=%s\n", name, value);
    }
    return true;
}

bool PrintManifest(const char* path) {
    // A data-file load reads resources of a program of either word size.
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    bool found = false;
    if (HRSRC info = FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST)) {
        if (HGLOBAL data = LoadResource(module, info)) {
            const std::string text(static_cast<const char*>(LockResource(data)),
                                   SizeofResource(module, info));
            std::printf("manifest:\n%s\n", text.c_str());
            found = true;
        }
    }
    FreeLibrary(module);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: version_probe PROGRAM.exe\n");
        return 2;
    }
    const bool version = PrintVersionResource(argv[1]);
    const bool manifest = PrintManifest(argv[1]);
    return version && manifest ? 0 : 1;
}
