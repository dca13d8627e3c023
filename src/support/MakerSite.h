#pragma once
// The maker's web site and the pages of it that the program links to.
inline constexpr const char* MakerSiteAddress = "http://www.fernwick-software.example";
inline constexpr const char* TallyglassPageAddress = "http://www.fernwick-software.example/products/Tallyglass/";
inline constexpr const char* BrightwardPageAddress = "http://www.fernwick-software.example/products/Brightward/";
inline constexpr const char* MakerSupportAddress = "http://www.fernwick-software.example/support";
inline constexpr const char* MakerDownloadAddress = "http://www.fernwick-software.example/download/";
