#pragma once
// What kind of image a picture's first bytes announce; the reader and the writer decide alike.

#include <cstdint>

// How many first bytes of an image tell its kind.
constexpr uint32_t kImageSignatureLength = 8;

bool IsJpegData(const uint8_t* data, uint64_t length);
bool IsPngData(const uint8_t* data, uint64_t length);
// ID3Picture::kPng, ID3Picture::kJpeg or ID3Picture::kOther.
uint32_t PictureKindOf(const uint8_t* data, uint64_t length);
