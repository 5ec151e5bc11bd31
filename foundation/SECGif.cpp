// SECGif: the GIF placeholder.
#include "foundation/SECGif.h"

IMPLEMENT_DYNCREATE(SECGif, SECImage)

SECGif::SECGif() = default;

SECGif::~SECGif() { m_palette.DeleteObject(); }

void SECGif::Serialize(CArchive&) {}

BOOL SECGif::DoSaveImage(CFile*) { return FALSE; }

BOOL SECGif::DoLoadImage(CFile*) { return FALSE; }
