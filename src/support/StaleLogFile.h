#pragma once
// Removes a "log.txt" left beside the executable. Nothing in the program
// writes one; every failure is ignored.
void DeleteStaleLogFile();
