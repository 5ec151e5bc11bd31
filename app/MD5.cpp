// The MD5 message digest and HMAC-MD5 over it.
#include "app/MD5.h"

#include <cmath>
#include <cstring>

namespace {

// T[i] = floor(2^32 * |sin(i + 1)|), exact in double precision for these 64 values.
struct SineTable {
  UINT t[64];
  SineTable() {
    for (int i = 0; i < 64; ++i)
      t[i] = static_cast<UINT>(static_cast<unsigned long long>(std::fabs(std::sin(i + 1.0)) * 4294967296.0));
  }
};

const UINT kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

UINT Rotate(UINT x, UINT n) { return (x << n) | (x >> (32 - n)); }

void Transform(UINT state[4], const unsigned char block[64]) {
  static const SineTable sine;
  UINT x[16];
  for (int i = 0; i < 16; ++i)
    x[i] = static_cast<UINT>(block[i * 4]) | (static_cast<UINT>(block[i * 4 + 1]) << 8) |
           (static_cast<UINT>(block[i * 4 + 2]) << 16) | (static_cast<UINT>(block[i * 4 + 3]) << 24);
  UINT a = state[0], b = state[1], c = state[2], d = state[3];
  for (int i = 0; i < 64; ++i) {
    const int round = i / 16;
    UINT f;
    int k;
    switch (round) {
      case 0:
        f = (b & c) | (~b & d);
        k = i;
        break;
      case 1:
        f = (b & d) | (c & ~d);
        k = (5 * i + 1) % 16;
        break;
      case 2:
        f = b ^ c ^ d;
        k = (3 * i + 5) % 16;
        break;
      default:
        f = c ^ (b | ~d);
        k = (7 * i) % 16;
        break;
    }
    const UINT next = b + Rotate(a + f + x[k] + sine.t[i], kShift[round][i % 4]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void MD5Init(MD5_CTX* context) {
  std::memset(context, 0, sizeof *context);
  context->state[0] = 0x67452301;
  context->state[1] = 0xefcdab89;
  context->state[2] = 0x98badcfe;
  context->state[3] = 0x10325476;
}

void MD5Update(MD5_CTX* context, const unsigned char* input, unsigned int inputLen) {
  unsigned int index = (context->count[0] >> 3) & 0x3F;
  const UINT bits = inputLen << 3;
  context->count[0] += bits;
  if (context->count[0] < bits) ++context->count[1];
  context->count[1] += inputLen >> 29;
  const unsigned int partLen = 64 - index;
  unsigned int i = 0;
  if (inputLen >= partLen) {
    std::memcpy(context->buffer + index, input, partLen);
    Transform(context->state, context->buffer);
    for (i = partLen; i + 63 < inputLen; i += 64) Transform(context->state, input + i);
    index = 0;
  }
  if (inputLen > i) std::memcpy(context->buffer + index, input + i, inputLen - i);
}

void MD5Final(unsigned char digest[16], MD5_CTX* context) {
  unsigned char length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<unsigned char>(context->count[i / 4] >> (8 * (i % 4)));
  // Pad to 56 bytes modulo 64 with a one bit and zeros, then append the length.
  static const unsigned char padding[64] = {0x80};
  const unsigned int index = (context->count[0] >> 3) & 0x3F;
  MD5Update(context, padding, index < 56 ? 56 - index : 120 - index);
  MD5Update(context, length, 8);
  for (int i = 0; i < 16; ++i) digest[i] = static_cast<unsigned char>(context->state[i / 4] >> (8 * (i % 4)));
  std::memset(context, 0, sizeof *context);
}

void hmac_md5(const unsigned char* text, int text_len, const unsigned char* key, int key_len,
              unsigned char digest[16]) {
  unsigned char keyDigest[16];
  if (key_len > 64) {
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, key, static_cast<unsigned int>(key_len));
    MD5Final(keyDigest, &context);
    key = keyDigest;
    key_len = 16;
  }
  unsigned char innerPad[64] = {0};
  unsigned char outerPad[64] = {0};
  std::memcpy(innerPad, key, static_cast<size_t>(key_len));
  std::memcpy(outerPad, key, static_cast<size_t>(key_len));
  for (int i = 0; i < 64; ++i) {
    innerPad[i] ^= 0x36;
    outerPad[i] ^= 0x5c;
  }
  MD5_CTX context;
  MD5Init(&context);
  MD5Update(&context, innerPad, 64);
  MD5Update(&context, text, static_cast<unsigned int>(text_len));
  MD5Final(digest, &context);
  MD5Init(&context);
  MD5Update(&context, outerPad, 64);
  MD5Update(&context, digest, 16);
  MD5Final(digest, &context);
}
