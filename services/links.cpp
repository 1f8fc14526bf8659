// Which address each link kind opens, and the one path to the s3eOSExec
// extension. The addresses themselves are in config.cpp.
#include "services/links.h"

#include <cstdio>

#include "platform/s3e.h"
#include "platform/s3e_ext.h"
#include "services/config.h"
#include "services/device.h"

namespace {

enum class Lookup { NotYet, Found, Missing };

struct Links {
    Lookup lookup = Lookup::NotYet;
    s3eOSExecTable table{};
};

Links g_links;

// The game's or the paid edition's page: the iOS store on iOS, by storefront;
// the Android store everywhere else (the desktop simulator included).
const char* StorePage(const config::StorePages& pages, int32_t os, bool russian) {
    if (os != S3E_OS_ID_IPHONE) return pages.android;
    return russian ? pages.iosRussian : pages.iosOther;
}

}  // namespace

void OpenAddress(const char* address) {
    if (g_links.lookup == Lookup::NotYet) {
        bool found = s3eExtLookup(S3E_EXT_OSEXEC_ID, &g_links.table) && g_links.table.ExecuteURL;
        g_links.lookup = found ? Lookup::Found : Lookup::Missing;
        if (!found) s3eDebugAssertShow(S3E_MESSAGE_CONTINUE, "error loading extension: s3eOSExec");
    }
    if (g_links.lookup != Lookup::Found || !address || !*address) return;
    g_links.table.ExecuteURL(address, S3E_FALSE);
}

void OpenLink(int32_t kind) {
    const int32_t os = device.os;
    const bool russian = device.russian;
    switch (kind) {
        case kLinkRate:
            OpenAddress(StorePage(config::kGamePages, os, russian));
            break;
        case kLinkHelp: {
            char address[256];
            std::snprintf(address, sizeof address, "%s/Apps/Details?id=%d#tutorial",
                          config::kHelpSite, russian ? 4 : 3);
            OpenAddress(address);
            break;
        }
        case kLinkPaidEdition:
            OpenAddress(StorePage(config::kPaidEditionPages, os, russian));
            break;
        default:
            break;
    }
}

void StopLinks() {
    g_links = Links();
}
