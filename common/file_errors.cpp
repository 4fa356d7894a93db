#include "file_errors.h"

#include <cerrno>
#include <cstring>

namespace ovd {

std::string fileErrorReason(int err)
{
    switch (err) {
    case ENOSPC: return "na disku není dost místa";
#ifdef EDQUOT  // no quotas in the Windows C library
    case EDQUOT: return "je překročena disková kvóta";
#endif
    case EFBIG: return "soubor by byl větší, než disk dovolí";
    case EROFS: return "disk je jen pro čtení";
    case EACCES:
    case EPERM: return "chybí oprávnění k zápisu";
    case EIO: return "chyba zápisu na disk";
    case 0: return "zápis selhal";
    default: return std::string("zápis selhal: ") + std::strerror(err);
    }
}

}  // namespace ovd
