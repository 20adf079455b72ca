// The installed app's icons, made at build time from the editor's own icon (res/tomkrin.ico): its
// 32-pixel picture enlarged pixel for pixel, so the app keeps the editor's sharp pixel art at any
// size. Only what that icon needs: an uncompressed Windows bitmap of 1 to 32 bits a pixel with its
// transparency mask, written back as an RGBA PNG.
import { deflateSync } from "node:zlib";

export interface Picture {
  width: number;
  height: number;
  rgba: Uint8Array;
}

// The picture of the given width in an .ico file.
export function icoPicture(ico: Uint8Array, width: number): Picture {
  const data = new DataView(ico.buffer, ico.byteOffset, ico.byteLength);
  if (data.getUint16(0, true) !== 0 || data.getUint16(2, true) !== 1)
    throw new Error("not an icon file");
  for (let i = 0; i < data.getUint16(4, true); i++) {
    const entry = 6 + i * 16;
    if ((data.getUint8(entry) || 256) === width)
      return bitmapPicture(ico.subarray(data.getUint32(entry + 12, true)));
  }
  throw new Error(`the icon has no ${width}-pixel picture`);
}

// A device-independent bitmap as an icon holds it: BITMAPINFOHEADER (its height counts the
// mask's rows too), the palette, the colour rows bottom up, then the 1-bit mask (1 = transparent).
function bitmapPicture(dib: Uint8Array): Picture {
  const data = new DataView(dib.buffer, dib.byteOffset, dib.byteLength);
  const headerSize = data.getUint32(0, true);
  const width = data.getInt32(4, true);
  const height = data.getInt32(8, true) / 2;
  const bits = data.getUint16(14, true);
  if (headerSize < 40 || data.getUint32(16, true) !== 0 || ![1, 4, 8, 24, 32].includes(bits))
    throw new Error("an icon picture this build cannot read (compressed or PNG)");
  const colours = bits <= 8 ? data.getUint32(32, true) || 1 << bits : 0;
  const pixels = headerSize + colours * 4;
  const rowBytes = Math.ceil((width * bits) / 32) * 4;
  const mask = pixels + rowBytes * height;
  const maskRowBytes = Math.ceil(width / 32) * 4;
  const rgba = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; y++) {
    const row = pixels + (height - 1 - y) * rowBytes;
    const maskRow = mask + (height - 1 - y) * maskRowBytes;
    for (let x = 0; x < width; x++) {
      let at: number; // the pixel's blue, green, red (and alpha) bytes
      if (bits <= 8) {
        const bit = x * bits;
        const index = (dib[row + (bit >> 3)] >> (8 - bits - (bit & 7))) & ((1 << bits) - 1);
        at = headerSize + index * 4;
      } else {
        at = row + x * (bits / 8);
      }
      const out = (y * width + x) * 4;
      rgba[out] = dib[at + 2];
      rgba[out + 1] = dib[at + 1];
      rgba[out + 2] = dib[at];
      const masked = (dib[maskRow + (x >> 3)] >> (7 - (x & 7))) & 1;
      rgba[out + 3] = masked ? 0 : bits === 32 ? dib[at + 3] : 255;
    }
  }
  return { width, height, rgba };
}

// Each pixel as a square of `times` pixels (nearest neighbour).
export function enlarge(picture: Picture, times: number): Picture {
  const width = picture.width * times;
  const height = picture.height * times;
  const rgba = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) {
      const from = (Math.floor(y / times) * picture.width + Math.floor(x / times)) * 4;
      rgba.set(picture.rgba.subarray(from, from + 4), (y * width + x) * 4);
    }
  return { width, height, rgba };
}

const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes: Uint8Array): number {
  let c = 0xffffffff;
  for (const b of bytes) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type: string, body: Uint8Array): Buffer {
  const out = Buffer.alloc(body.length + 12);
  out.writeUInt32BE(body.length, 0);
  out.write(type, 4, "latin1");
  out.set(body, 8);
  out.writeUInt32BE(crc32(out.subarray(4, 8 + body.length)), 8 + body.length);
  return out;
}

// An 8-bit RGBA PNG of the picture.
export function pngFile(picture: Picture): Buffer {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(picture.width, 0);
  header.writeUInt32BE(picture.height, 4);
  header.set([8, 6, 0, 0, 0], 8); // 8 bits, RGBA, deflate, no filter choice, not interlaced
  const stride = picture.width * 4;
  const rows = Buffer.alloc((stride + 1) * picture.height); // each row behind filter byte 0
  for (let y = 0; y < picture.height; y++)
    rows.set(picture.rgba.subarray(y * stride, (y + 1) * stride), y * (stride + 1) + 1);
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk("IHDR", header),
    chunk("IDAT", deflateSync(rows, { level: 9 })),
    chunk("IEND", new Uint8Array()),
  ]);
}
