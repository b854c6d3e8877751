#include "cli/command_line.h"

#include <algorithm>
#include <optional>

#ifndef VX_VERSION
#define VX_VERSION "0"
#endif

namespace vx::cli {

namespace {

const OptionSyntax kHelpOption{"--help", "-h", "", "diese Hilfe zeigen"};
const OptionSyntax kVersionOption{"--version", "", "", "die Version zeigen"};

bool ParseNumber(const std::string& text, const OptionSyntax& option, int& value) {
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const long long number = std::stoll(text);
    if (number < option.minimum || number > option.maximum) return false;
    value = static_cast<int>(number);
    return true;
}

std::string RangeText(const OptionSyntax& option) {
    if (option.maximum == std::numeric_limits<int>::max()) {
        return "eine ganze Zahl ab " + std::to_string(option.minimum);
    }
    return "eine ganze Zahl von " + std::to_string(option.minimum) + " bis " +
           std::to_string(option.maximum);
}

std::string OptionColumn(const OptionSyntax& option) {
    std::string text = option.alias.empty() ? option.name : option.alias + ", " + option.name;
    if (!option.valueName.empty()) text += " " + option.valueName;
    return text;
}

}  // namespace

// Builds the result; a friend of Arguments.
struct Parser {
    static ParseResult Parse(const CommandSyntax& syntax, const std::vector<std::string>& args) {
        ParseResult result;
        auto find = [&](const std::string& text) -> const OptionSyntax* {
            for (const OptionSyntax& option : syntax.options) {
                if (option.name == text || (!option.alias.empty() && option.alias == text)) {
                    return &option;
                }
            }
            return nullptr;
        };
        bool onlyPositional = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
                result.arguments.positional_.push_back(arg);
                continue;
            }
            if (arg == "--") {
                onlyPositional = true;
                continue;
            }
            if (arg == kHelpOption.name || arg == kHelpOption.alias) {
                result.help = true;
                continue;
            }
            if (arg == kVersionOption.name) {
                result.version = true;
                continue;
            }
            // "--limit=5" is "--limit 5".
            std::string name = arg;
            std::optional<std::string> attached;
            const std::size_t equals = arg.find('=');
            if (arg.starts_with("--") && equals != std::string::npos) {
                name = arg.substr(0, equals);
                attached = arg.substr(equals + 1);
            }
            const OptionSyntax* option = find(name);
            if (option == nullptr) {
                result.error = "Unbekannte Option: " + arg;
                return result;
            }
            if (option->valueName.empty()) {
                if (attached) {
                    result.error = option->name + " nimmt keinen Wert";
                    return result;
                }
                result.arguments.values_[option->name] = "";
                continue;
            }
            if (!attached && i + 1 >= args.size()) {
                result.error = option->name + " braucht " + RangeText(*option);
                return result;
            }
            const std::string value = attached ? *attached : args[++i];
            int number = 0;
            if (!ParseNumber(value, *option, number)) {
                result.error =
                    option->name + " braucht " + RangeText(*option) + ", nicht \"" + value + "\"";
                return result;
            }
            result.arguments.values_[option->name] = value;
        }
        if (result.help || result.version) return result;
        const std::size_t count = result.arguments.positional_.size();
        if (count < syntax.minPositional) {
            result.error = "Es fehlen Argumente";
        } else if (count > syntax.maxPositional) {
            result.error =
                "Zu viele Argumente: " + result.arguments.positional_[syntax.maxPositional];
        }
        return result;
    }
};

int Arguments::Number(const std::string& option, int fallback) const {
    const auto it = values_.find(option);
    if (it == values_.end()) return fallback;
    return static_cast<int>(std::stoll(it->second));
}

ParseResult ParseCommandLine(const CommandSyntax& syntax, const std::vector<std::string>& args) {
    return Parser::Parse(syntax, args);
}

std::string UsageLine(const CommandSyntax& syntax) {
    std::string line = "Aufruf: vantor-xml-cli " + syntax.name;
    if (!syntax.arguments.empty()) line += " " + syntax.arguments;
    return line + " [OPTIONEN]\n";
}

std::string HelpText(const CommandSyntax& syntax) {
    std::string text = UsageLine(syntax) + syntax.description + "Optionen:\n";
    std::vector<const OptionSyntax*> options;
    for (const OptionSyntax& option : syntax.options) options.push_back(&option);
    options.push_back(&kHelpOption);
    options.push_back(&kVersionOption);
    std::size_t width = 0;
    for (const OptionSyntax* option : options)
        width = std::max(width, OptionColumn(*option).size());
    for (const OptionSyntax* option : options) {
        const std::string column = OptionColumn(*option);
        text += "  " + column + std::string(width - column.size() + 2, ' ') + option->help + "\n";
    }
    return text + syntax.exitCodes;
}

std::string VersionText() {
    return "vantor-xml-cli (Vantor-XML) " VX_VERSION "\n";
}

}  // namespace vx::cli
