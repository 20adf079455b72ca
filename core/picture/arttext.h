#pragma once
// The layout that the block pictures and the title font share as text: each picture is a header
// line and then a fixed number of rows; blank lines and lines starting with '#' may stand
// between pictures. Trailing blanks are ignored everywhere.
#include <istream>
#include <string>

class ArtTextReader {
  public:
    explicit ArtTextReader(std::istream& in) : in_(in) {}

    // The next header line, past blank and comment lines; false at the end of the text.
    bool nextHeader(std::string& line);
    // The next row of the picture being read; false when the text ends first.
    bool nextRow(std::string& line);
    // "line N: WHAT" for the line read last.
    std::string error(const std::string& what) const;

  private:
    bool nextLine(std::string& line);

    std::istream& in_;
    int lineNumber_ = 0;
};
