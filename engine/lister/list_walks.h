// The lister's walks of CAB, GZIP (with .Z and the other single-file formats), RAR, TAR and UUE files,
// each in its own file. They fill the lister's current-entry members and report through ReportEntry.
#pragma once

namespace engine {

class TKrenlo;
class ReadAtSource;

// Lists the archive when its type is one of these five; false for the other types.
bool ListMoreFormats(TKrenlo& lister, ReadAtSource& source);

void ListCab(TKrenlo& lister, ReadAtSource& source);
void ListGzip(TKrenlo& lister, ReadAtSource& source);
void ListRar(TKrenlo& lister, ReadAtSource& source);
void ListTar(TKrenlo& lister, ReadAtSource& source);
void ListUue(TKrenlo& lister, ReadAtSource& source);

}  // namespace engine
