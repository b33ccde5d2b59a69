// qvimage gif2frames IN.gif OUTDIR: the frames of a GIF file as the GIF
// control composes them, one PAM file each, and what the file says of them
// in info.json.
#pragma once

namespace qv {

// Exit codes: 0 the file was read (also when it held no frame), 1 it is no
// GIF file or cannot be read or written (no files written then).
int Gif2Frames(const char* in, const char* outdir);

}  // namespace qv
