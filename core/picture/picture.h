// The one in-memory picture: 24-bit blue-green-red pixels in a packed DIB block, reached
// through a row table whose entry 0 is the top row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/records.h"

// The data members are exactly those of PictureFields (plug-ins read them directly); this class
// adds the operations. Copies are deep and explicit (CopyFrom), so the class is not copyable.
class Picture : public PictureFields {
 public:
  Picture();
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Frees the pixels, extra plane and row table; the info goes back to "Raw Memory", 0 x 0.
  void Reset();
  // A black picture of the given size. 0 when the block cannot be allocated.
  int Create(int width, int height);
  // A deep copy of other in one block move. Null other: 0. Empty other: 1, this stays empty.
  // A picture that already holds a block large enough keeps it, so copying into a picture of
  // the same size costs no fresh pages.
  int CopyFrom(const Picture* other);
  // CopyFrom for a caller that has already made the pixels of the rectangle [x0, x1) x [y0, y1)
  // equal in both pictures: everything else of the block (header, the rows around the
  // rectangle, row padding) and the info record are copied, so the result is the same as
  // CopyFrom's while only what lies outside the rectangle moves. Both pictures must have the
  // same layout and no extra plane; otherwise nothing is copied and 0 is returned (the caller
  // then copies in full).
  int CopyFromOutside(const Picture* other, int x0, int y0, int x1, int y1);
  // Reads a packed DIB (header, colour table or masks, rows) of `size` bytes: 8, 16, 24 or 32
  // bits, bottom-up or top-down, uncompressed or bit-field. Anything that does not fit in
  // `size`, an unsupported bit count or compression, or a width or height of 0 or above 65535
  // gives 0 and leaves the picture as it was.
  int LoadDib(const uint8_t* dib, size_t size);
  // Coordinates are taken as unsigned 16-bit values; outside the picture nothing happens and 0
  // is returned (GetPixel then writes black).
  int SetPixel(int x, int y, const uint8_t bgr[3]);
  int GetPixel(int x, int y, uint8_t bgr[3]) const;
  // Locates the pixel bits behind the header and rebuilds the row table from them.
  void BuildRows();
  // Replaces the extra plane by a zeroed block of width * height bytes.
  int AllocExtraPlane();
  // Copies at most 256 bytes of text; null gives the empty text.
  void SetTypeText(const char* text);
  void SetSourceText(const char* text);

  int IsEmpty() const { return dib == nullptr; }
  int Width() const { return info->width; }
  int Height() const { return info->height; }
  int Stride() const { return info->stride; }
  const char* TypeText() const { return info->type_text; }
  const char* SourceText() const { return info->source_text; }
  uint8_t* Bits() const { return bits; }
  uint8_t* Dib() const { return dib; }
  PictureInfo* Info() const { return info; }
  uint8_t* Row(int y) const { return rows[y]; }
  uint8_t* ExtraPlane() const { return extra; }
  // Size of the packed DIB that starts at Dib(): header, then height * stride bytes of rows.
  size_t DibBytes() const;

  // (bits * width / 8 + 3) rounded down to a multiple of 4.
  static int RowBytes(int bits_per_pixel, int width);

 private:
  void ResetInfo();
  void FreeStorage();
};
