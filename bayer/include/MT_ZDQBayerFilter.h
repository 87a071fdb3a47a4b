// Public interface of libMT_ZDQBayerFilter_x64: stateless Bayer demosaicing.
//
// Every function turns one raw Bayer frame (one sample per pixel, rows packed,
// row 0 first) into a colour image, or into a grey image of 2x2 block means, in
// a buffer owned by the caller. Nothing is allocated and nothing is kept
// between calls; every function is reentrant.
//
// Pattern names give the colours of the 2x2 cell whose top-left pixel is the
// first sample of the frame: RGGB, BGGR, GRBG, GBRG.
//
// Colour functions take (raw, width, height, dst, bitCount):
//   - raw: width*height samples (bytes, or host-order 16-bit samples for the
//     _16Bits functions, passed as a byte pointer); never written.
//   - width, height: even, at least 4 (at least 6 for the Laplacian family).
//   - dst: width*height*bitCount/8 bytes (twice that for _16Bits), must not
//     overlap raw. Pixels are blue, green, red and, for bitCount 32, a fourth
//     value, rows packed.
//   - bitCount: 24 or 32 in its low 16 bits.
//   - plain functions write image row y to output row y; _Flip functions to
//     output row height-1-y (bottom-up). Columns are never mirrored.
// The grey functions take (raw, width, height, dst) and write width*height
// values (bytes, or 16-bit values for _Gray_16Bits).
//
// Functions return 0; the fast bilinear functions return -1 for a bit count
// other than 24 or 32. Arguments are not validated: the caller passes buffers
// of the sizes above.
#ifndef MT_ZDQBAYERFILTER_H
#define MT_ZDQBAYERFILTER_H

#if defined(MT_ZDQBAYERFILTER_BUILD)
#define MT_ZDQBAYERFILTER_API __attribute__((visibility("default")))
#else
#define MT_ZDQBAYERFILTER_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Nearest neighbour, 8-bit and 16-bit samples */
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_RGGB(unsigned char* raw, int width, int height,
                                                      unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_RGGB_Flip(unsigned char* raw, int width,
                                                           int height, unsigned char* dst,
                                                           unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_RGGB_16Bits(unsigned char* raw, int width,
                                                             int height, unsigned char* dst,
                                                             unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_RGGB_Flip_16Bits(unsigned char* raw, int width,
                                                                  int height, unsigned char* dst,
                                                                  unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_BGGR(unsigned char* raw, int width, int height,
                                                      unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_BGGR_Flip(unsigned char* raw, int width,
                                                           int height, unsigned char* dst,
                                                           unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_BGGR_16Bits(unsigned char* raw, int width,
                                                             int height, unsigned char* dst,
                                                             unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_BGGR_Flip_16Bits(unsigned char* raw, int width,
                                                                  int height, unsigned char* dst,
                                                                  unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GRBG(unsigned char* raw, int width, int height,
                                                      unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GRBG_Flip(unsigned char* raw, int width,
                                                           int height, unsigned char* dst,
                                                           unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GRBG_16Bits(unsigned char* raw, int width,
                                                             int height, unsigned char* dst,
                                                             unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GRBG_Flip_16Bits(unsigned char* raw, int width,
                                                                  int height, unsigned char* dst,
                                                                  unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GBRG(unsigned char* raw, int width, int height,
                                                      unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GBRG_Flip(unsigned char* raw, int width,
                                                           int height, unsigned char* dst,
                                                           unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GBRG_16Bits(unsigned char* raw, int width,
                                                             int height, unsigned char* dst,
                                                             unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GBRG_Flip_16Bits(unsigned char* raw, int width,
                                                                  int height, unsigned char* dst,
                                                                  unsigned short bitCount);

/* 1-pixel border fill (writes the outermost rows and columns only) */
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_RGGB(unsigned char* raw, int width,
                                                            int height, unsigned char* dst,
                                                            unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_RGGB_Flip(unsigned char* raw, int width,
                                                                 int height, unsigned char* dst,
                                                                 unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_RGGB_16Bits(unsigned char* raw, int width,
                                                                   int height, unsigned char* dst,
                                                                   unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_RGGB_Flip_16Bits(unsigned char* raw,
                                                                        int width, int height,
                                                                        unsigned char* dst,
                                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_BGGR(unsigned char* raw, int width,
                                                            int height, unsigned char* dst,
                                                            unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_BGGR_Flip(unsigned char* raw, int width,
                                                                 int height, unsigned char* dst,
                                                                 unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_BGGR_16Bits(unsigned char* raw, int width,
                                                                   int height, unsigned char* dst,
                                                                   unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_BGGR_Flip_16Bits(unsigned char* raw,
                                                                        int width, int height,
                                                                        unsigned char* dst,
                                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_GRBG(unsigned char* raw, int width,
                                                            int height, unsigned char* dst,
                                                            unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_GRBG_Flip(unsigned char* raw, int width,
                                                                 int height, unsigned char* dst,
                                                                 unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_GRBG_16Bits(unsigned char* raw, int width,
                                                                   int height, unsigned char* dst,
                                                                   unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_GRBG_Flip_16Bits(unsigned char* raw,
                                                                        int width, int height,
                                                                        unsigned char* dst,
                                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_GBRG(unsigned char* raw, int width,
                                                            int height, unsigned char* dst,
                                                            unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_GBRG_Flip(unsigned char* raw, int width,
                                                                 int height, unsigned char* dst,
                                                                 unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_GBRG_16Bits(unsigned char* raw, int width,
                                                                   int height, unsigned char* dst,
                                                                   unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge1_GBRG_Flip_16Bits(unsigned char* raw,
                                                                        int width, int height,
                                                                        unsigned char* dst,
                                                                        unsigned short bitCount);

/* 2-pixel border fill (writes the two outermost rows and columns only) */
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge2_RGGB(unsigned char* raw, int width,
                                                            int height, unsigned char* dst,
                                                            unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge2_RGGB_Flip(unsigned char* raw, int width,
                                                                 int height, unsigned char* dst,
                                                                 unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge2_BGGR(unsigned char* raw, int width,
                                                            int height, unsigned char* dst,
                                                            unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge2_BGGR_Flip(unsigned char* raw, int width,
                                                                 int height, unsigned char* dst,
                                                                 unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge2_GRBG(unsigned char* raw, int width,
                                                            int height, unsigned char* dst,
                                                            unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge2_GRBG_Flip(unsigned char* raw, int width,
                                                                 int height, unsigned char* dst,
                                                                 unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge2_GBRG(unsigned char* raw, int width,
                                                            int height, unsigned char* dst,
                                                            unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_Edge2_GBRG_Flip(unsigned char* raw, int width,
                                                                 int height, unsigned char* dst,
                                                                 unsigned short bitCount);

/* Bilinear */
MT_ZDQBAYERFILTER_API int ZDQCFA_Bilinear_RGGB(unsigned char* raw, int width, int height,
                                               unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Bilinear_RGGB_Flip(unsigned char* raw, int width, int height,
                                                    unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Bilinear_BGGR(unsigned char* raw, int width, int height,
                                               unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Bilinear_BGGR_Flip(unsigned char* raw, int width, int height,
                                                    unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Bilinear_GRBG(unsigned char* raw, int width, int height,
                                               unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Bilinear_GRBG_Flip(unsigned char* raw, int width, int height,
                                                    unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Bilinear_GBRG(unsigned char* raw, int width, int height,
                                               unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Bilinear_GBRG_Flip(unsigned char* raw, int width, int height,
                                                    unsigned char* dst, unsigned short bitCount);

/* Fast bilinear: the bilinear result; -1 without writing for a bit count other than 24 or 32 */
MT_ZDQBAYERFILTER_API int ZDQCFA_FastBilinear_RGGB(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_FastBilinear_RGGB_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_FastBilinear_BGGR(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_FastBilinear_BGGR_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_FastBilinear_GRBG(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_FastBilinear_GRBG_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_FastBilinear_GBRG(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_FastBilinear_GBRG_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);

/* Smooth hue */
MT_ZDQBAYERFILTER_API int ZDQCFA_SmoothHue_RGGB(unsigned char* raw, int width, int height,
                                                unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_SmoothHue_RGGB_Flip(unsigned char* raw, int width, int height,
                                                     unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_SmoothHue_BGGR(unsigned char* raw, int width, int height,
                                                unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_SmoothHue_BGGR_Flip(unsigned char* raw, int width, int height,
                                                     unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_SmoothHue_GRBG(unsigned char* raw, int width, int height,
                                                unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_SmoothHue_GRBG_Flip(unsigned char* raw, int width, int height,
                                                     unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_SmoothHue_GBRG(unsigned char* raw, int width, int height,
                                                unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_SmoothHue_GBRG_Flip(unsigned char* raw, int width, int height,
                                                     unsigned char* dst, unsigned short bitCount);

/* Edge sensing */
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing1_RGGB(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing1_RGGB_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing1_BGGR(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing1_BGGR_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing1_GRBG(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing1_GRBG_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing1_GBRG(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing1_GBRG_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing2_RGGB(unsigned char* raw, int width, int height,
                                                   unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_EdgeSensing2_RGGB_Flip(unsigned char* raw, int width, int height,
                                                        unsigned char* dst,
                                                        unsigned short bitCount);

/* Gradient-corrected Laplacian (frames of at least 6x6) */
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian_RGGB(unsigned char* raw, int width, int height,
                                                unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian_RGGB_Flip(unsigned char* raw, int width, int height,
                                                     unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian_BGGR(unsigned char* raw, int width, int height,
                                                unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian_BGGR_Flip(unsigned char* raw, int width, int height,
                                                     unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian_GRBG(unsigned char* raw, int width, int height,
                                                unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian_GRBG_Flip(unsigned char* raw, int width, int height,
                                                     unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian_GBRG(unsigned char* raw, int width, int height,
                                                unsigned char* dst, unsigned short bitCount);
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian_GBRG_Flip(unsigned char* raw, int width, int height,
                                                     unsigned char* dst, unsigned short bitCount);

/* Grey: floor mean of each 2x2 block, last column(s) and last row copied */
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_RGGB_Gray(unsigned char* raw, int width,
                                                           int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_RGGB_Gray_Flip(unsigned char* raw, int width,
                                                                int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_RGGB_Gray_16Bits(unsigned char* raw, int width,
                                                                  int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_RGGB_Gray_Flip_16Bits(unsigned char* raw,
                                                                       int width, int height,
                                                                       unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_BGGR_Gray(unsigned char* raw, int width,
                                                           int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_BGGR_Gray_Flip(unsigned char* raw, int width,
                                                                int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_BGGR_Gray_16Bits(unsigned char* raw, int width,
                                                                  int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_BGGR_Gray_Flip_16Bits(unsigned char* raw,
                                                                       int width, int height,
                                                                       unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GRBG_Gray(unsigned char* raw, int width,
                                                           int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GRBG_Gray_Flip(unsigned char* raw, int width,
                                                                int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GRBG_Gray_16Bits(unsigned char* raw, int width,
                                                                  int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GRBG_Gray_Flip_16Bits(unsigned char* raw,
                                                                       int width, int height,
                                                                       unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GBRG_Gray(unsigned char* raw, int width,
                                                           int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GBRG_Gray_Flip(unsigned char* raw, int width,
                                                                int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GBRG_Gray_16Bits(unsigned char* raw, int width,
                                                                  int height, unsigned char* dst);
MT_ZDQBAYERFILTER_API int ZDQCFA_NearestNeighbor_GBRG_Gray_Flip_16Bits(unsigned char* raw,
                                                                       int width, int height,
                                                                       unsigned char* dst);

#ifdef __cplusplus
}

// Laplacian variant for RGGB published with C++ linkage (its symbol carries the
// argument types). It starts its green pass two rows and columns further in
// than ZDQCFA_Laplacian_RGGB: interior pixels it does not reach keep green (and,
// at red and blue sites, their own colour) at 0xFF.
MT_ZDQBAYERFILTER_API int ZDQCFA_Laplacian2_RGGB(unsigned char* raw, int width, int height,
                                                 unsigned char* dst, unsigned short bitCount);
#endif

#endif  // MT_ZDQBAYERFILTER_H
