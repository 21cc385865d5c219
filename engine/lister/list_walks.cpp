#include "engine/lister/list_walks.h"

#include "engine/lister/krenlo.h"

namespace engine {

bool ListMoreFormats(TKrenlo& k, ReadAtSource& source)
{
    switch (k.ArcType()) {
    case TArcType::atCab: ListCab(k, source); return true;
    case TArcType::atGZip: ListGzip(k, source); return true;
    case TArcType::atRar:
    case TArcType::atRarExe: ListRar(k, source); return true;
    case TArcType::atTar: ListTar(k, source); return true;
    case TArcType::atUue: ListUue(k, source); return true;
    default: return false;
    }
}

}  // namespace engine
