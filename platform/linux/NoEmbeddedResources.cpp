// The empty table of a module that embeds no resources; a module that does
// links a generated table whose strong definition replaces this one.
#include "../EmbeddedResources.h"

namespace platform {

__attribute__((weak)) const EmbeddedResourceTable& EmbeddedResources()
{
    static const EmbeddedResourceTable empty{nullptr, 0};
    return empty;
}

}  // namespace platform
