#include "systems/SystemInfo.h"

namespace lot {

bool SystemIsOwn(const tSystemInfo &info, const QString &userMail) {
    return !info.OwnerMail.isEmpty() && info.OwnerMail.compare(userMail, Qt::CaseInsensitive) == 0;
}

} // namespace lot
