// The one argument parser of vantor-xml-cli. Every command declares its arguments and options in
// a table (CommandSyntax); options may stand anywhere before "--", after it every argument is
// positional. --help/-h and --version belong to every command.
#pragma once

#include <cstddef>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace vx::cli {

struct OptionSyntax {
    std::string name;       // "--chunk-size"
    std::string alias;      // a second spelling ("-0"), or empty
    std::string valueName;  // "N" for an option that takes a whole number, empty for a switch
    std::string help;       // one line of the help text
    int minimum = 0;        // the range of the number
    int maximum = std::numeric_limits<int>::max();
};

struct CommandSyntax {
    std::string name;         // "create"
    std::string arguments;    // "NAME ORDNER", as in the usage line
    std::string description;  // lines below the usage line
    std::vector<OptionSyntax> options;
    std::size_t minPositional = 0;
    std::size_t maxPositional = 0;
    std::string exitCodes;  // the exit-status paragraph of the help text
};

class Arguments {
  public:
    const std::vector<std::string>& Positional() const { return positional_; }
    bool Has(const std::string& option) const { return values_.count(option) != 0; }
    // The number given with an option (checked against its range), or fallback without it.
    int Number(const std::string& option, int fallback) const;

  private:
    friend struct Parser;
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;  // option name -> value ("" for a switch)
};

struct ParseResult {
    Arguments arguments;
    bool help = false;
    bool version = false;
    std::string error;  // a usage error, in German; empty when the command line is usable
};

// args: the arguments after the command name.
ParseResult ParseCommandLine(const CommandSyntax& syntax, const std::vector<std::string>& args);

// "Aufruf: vantor-xml-cli NAME ARGUMENTE [OPTIONEN]" with the description, the options and the
// exit statuses.
std::string HelpText(const CommandSyntax& syntax);
std::string UsageLine(const CommandSyntax& syntax);
// "vantor-xml-cli (Vantor-XML) 1.5.0".
std::string VersionText();

}  // namespace vx::cli
