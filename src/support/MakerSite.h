#pragma once
// The maker's web site and the pages of it that the program links to.
inline constexpr const char* MakerSiteAddress = "http://fernwick.example";
inline constexpr const char* TallyglassPageAddress = "http://fernwick.example/products/Tallyglass/";
inline constexpr const char* BrightwardPageAddress = "http://fernwick.example/products/Brightward/";
inline constexpr const char* MakerSupportAddress = "http://fernwick.example/support";
inline constexpr const char* MakerDownloadAddress = "http://fernwick.example/download/";
