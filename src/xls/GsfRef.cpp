#include "GsfRef.h"

#include <gsf/gsf-utils.h>

#include <mutex>

namespace fb::xls {

void ensureGsfInitialised()
{
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

} // namespace fb::xls
