// Build-time helper: writes the editor files made from the keyword tables
// into a folder: a VS Code extension's manifest, TextMate grammars and
// language configuration, a Notepad++ user-defined language, and Vim syntax
// and file-type detection. The keywords are those the compilers read, never
// spelled here.
//
// Usage: make_editor_files FOLDER VERSION
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "common/json_text.h"
#include "sources/keyword_table.h"

namespace {

using namespace scenario;
namespace fs = std::filesystem;

struct format_names {
  description_format format;
  const char* id;        // the editors' language id
  const char* title;     // as menus show it
  const char* vim;       // Vim's file type
  const char* patterns;  // file names, as a glob
};
constexpr format_names k_formats[] = {
    {description_format::line, "scenario-line", "Line description", "scenario_line", "*_linea.txt"},
    {description_format::train, "scenario-train", "Train description", "scenario_train", "*-.txt"},
};

// The scopes the grammars give; editors colour them as their themes say.
constexpr const char* k_keyword_scope = "keyword.other.record.scenario";
constexpr const char* k_number_scope = "constant.numeric.integer.scenario";
constexpr const char* k_section_scope = "entity.name.section.scenario";
constexpr const char* k_string_scope = "string.quoted.double.scenario";

std::string regex_escaped(std::string_view word) {
  std::string out;
  for (const char c : word) {
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

// A keyword field that holds every word of the kind: lookaheads over the
// field, the words' letter case kept where the compiler keeps it.
std::string oniguruma_keyword(const record_spec& kind) {
  std::string re = kind.match == letter_case::ignored ? "(?i)" : "";
  re += "^\\s*";
  for (const std::string_view w : kind.words) re += "(?=[^,]*" + regex_escaped(w) + ")";
  return re + "([^,\\[]*[^,\\s\\[])";
}

std::string vim_keyword(const record_spec& kind) {
  std::string re = kind.match == letter_case::ignored ? "\\c" : "\\C";
  re += "^\\s*";
  for (const std::string_view w : kind.words) re += "\\%([^,]*" + regex_escaped(w) + "\\)\\@=";
  return re + "[^,[]*[^,[:space:][]";
}

std::string json_list(const std::vector<std::string>& items, const std::string& indent) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i)
    out += (i == 0 ? "\n" : ",\n") + indent + "  " + items[i];
  return out + "\n" + indent + "]";
}

std::string pattern(const std::string& re, const char* scope) {
  return "{\"match\": " + json_string_utf8(re) + ", \"captures\": {\"1\": {\"name\": \"" + scope +
         "\"}}}";
}

// The kinds of a format recognised in part.
std::vector<const record_spec*> kinds_of(description_format format, record_part part) {
  std::vector<const record_spec*> out;
  for (const record_spec& k : keyword_table(format))
    if (k.part == part) out.push_back(&k);
  return out;
}

std::string tm_grammar(const format_names& f) {
  const std::string scope = std::string("source.") + f.id;
  auto keyword_patterns = [&](record_part part) {
    std::vector<std::string> out;
    for (const record_spec* k : kinds_of(f.format, part))
      out.push_back(pattern(oniguruma_keyword(*k), k_keyword_scope));
    return out;
  };
  const std::vector<std::string> values = {
      pattern("^\\s*(\\[[^\\]]*\\])", k_section_scope),
      "{\"match\": \"\\\"[^\\\"]*\\\"\", \"name\": \"" + std::string(k_string_scope) + "\"}",
      "{\"match\": \"(?<![^\\\\s,])-?[0-9]+(?=[\\\\s,]|$)\", \"name\": \"" +
          std::string(k_number_scope) + "\"}",
  };
  std::vector<std::string> top;
  std::string repository;
  if (f.format == description_format::line) {
    // The general keywords are read only inside [generale], the body's
    // only after it.
    std::vector<std::string> general = keyword_patterns(record_part::general);
    for (const std::string& v : values) general.push_back(v);
    top.push_back(
        "{\"begin\": \"(?i)^\\\\s*(\\\\[generale\\\\])\", \"beginCaptures\": {\"1\": {\"name\": "
        "\"" +
        std::string(k_section_scope) +
        "\"}}, \"end\": \"(?=^\\\\s*\\\\[)\", \"patterns\": " + json_list(general, "    ") + "}");
    for (const std::string& p : keyword_patterns(record_part::body)) top.push_back(p);
  } else {
    top = keyword_patterns(record_part::anywhere);
  }
  for (const std::string& v : values) top.push_back(v);
  return "{\n  \"name\": \"" + std::string(f.title) + "\",\n  \"scopeName\": \"" + scope +
         "\",\n  \"patterns\": " + json_list(top, "  ") + "\n}\n";
}

std::string vscode_manifest(const std::string& version) {
  std::vector<std::string> languages, grammars, defaults;
  // The picture's command and button are there in either language's editor.
  std::string when;
  for (const format_names& f : k_formats) {
    when += (when.empty() ? "editorLangId == " : " || editorLangId == ") + std::string(f.id);
    languages.push_back("{\"id\": \"" + std::string(f.id) + "\", \"aliases\": [\"" + f.title +
                        "\"], \"filenamePatterns\": [\"" + f.patterns +
                        "\"], \"configuration\": \"./language-configuration.json\"}");
    grammars.push_back("{\"language\": \"" + std::string(f.id) + "\", \"scopeName\": \"source." +
                       f.id + "\", \"path\": \"./syntaxes/" + f.id + ".tmLanguage.json\"}");
    // The simulator reads Windows-1252 with CR LF; the kilometre hints are
    // there when asked for.
    defaults.push_back("\"[" + std::string(f.id) +
                       "]\": {\"files.encoding\": \"windows1252\", \"files.eol\": \"\\r\\n\", "
                       "\"editor.inlayHints.enabled\": \"off\"}");
  }
  return "{\n"
         "  \"name\": \"scenario-gen\",\n"
         "  \"displayName\": \"scenario_gen descriptions\",\n"
         "  \"description\": \"Diagnostics, hover, completion, quick fixes and formatting for "
         "line and train descriptions, from scenario_gen lsp\",\n"
         "  \"version\": \"" +
         version +
         "\",\n"
         "  \"publisher\": \"scenario-gen\",\n"
         "  \"license\": \"SEE LICENSE IN LICENSE\",\n"
         "  \"engines\": {\"vscode\": \"^1.82.0\"},\n"
         "  \"main\": \"./extension.js\",\n"
         "  \"contributes\": {\n"
         "    \"languages\": " +
         json_list(languages, "    ") + ",\n    \"grammars\": " + json_list(grammars, "    ") +
         ",\n    \"configurationDefaults\": {\n      " + defaults[0] + ",\n      " + defaults[1] +
         "\n    },\n"
         "    \"configuration\": {\"title\": \"scenario_gen\", \"properties\": {\n"
         "      \"scenarioGen.path\": {\"type\": \"string\", \"default\": \"scenario_gen\", "
         "\"description\": \"The scenario_gen program that serves the descriptions (scenario_gen "
         "lsp); by default the one beside the extension, else the one on PATH.\"}\n"
         "    }},\n"
         "    \"commands\": [{\"command\": \"scenarioGen.openPictureToSide\", \"title\": \"Open "
         "picture to the side\", \"category\": \"Scenario\", \"icon\": \"$(open-preview)\"}],\n"
         "    \"menus\": {\n"
         "      \"editor/title\": [{\"command\": \"scenarioGen.openPictureToSide\", \"when\": \"" +
         when +
         "\", \"group\": \"navigation\"}],\n"
         "      \"commandPalette\": [{\"command\": \"scenarioGen.openPictureToSide\", \"when\": "
         "\"" +
         when +
         "\"}]\n"
         "    }\n"
         "  }\n"
         "}\n";
}

const char* const k_language_configuration =
    "{\n"
    "  \"brackets\": [[\"[\", \"]\"]],\n"
    "  \"autoClosingPairs\": [{\"open\": \"[\", \"close\": \"]\"}, {\"open\": \"\\\"\", "
    "\"close\": \"\\\"\"}],\n"
    "  \"surroundingPairs\": [[\"\\\"\", \"\\\"\"]],\n"
    "  \"wordPattern\": \"[^\\\\s,\\\"]+\"\n"
    "}\n";

std::string xml_escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

// Notepad++ matches whole keywords; a keyword of several words is quoted.
std::string notepad_keywords(description_format format) {
  std::string out;
  for (const record_spec& k : keyword_table(format))
    for (const std::string_view w : k.keywords) {
      if (!out.empty()) out += ' ';
      out += w.find(' ') != w.npos ? "\"" + std::string(w) + "\"" : std::string(w);
    }
  return xml_escaped(out);
}

std::string notepad_language(const format_names& f) {
  std::string s = "    <UserLang name=\"scenario_gen " + std::string(f.title) +
                  "\" ext=\"\" udlVersion=\"2.1\">\n"
                  "        <Settings>\n"
                  "            <Global caseIgnored=\"yes\" allowFoldOfComments=\"no\" "
                  "foldCompact=\"no\" forcePureLC=\"0\" decimalSeparator=\"0\" />\n"
                  "            <Prefix Keywords1=\"no\" Keywords2=\"no\" Keywords3=\"no\" "
                  "Keywords4=\"no\" Keywords5=\"no\" Keywords6=\"no\" Keywords7=\"no\" "
                  "Keywords8=\"no\" />\n"
                  "        </Settings>\n"
                  "        <KeywordLists>\n"
                  "            <Keywords name=\"Comments\"></Keywords>\n"
                  "            <Keywords name=\"Numbers, prefix1\"></Keywords>\n"
                  "            <Keywords name=\"Numbers, prefix2\"></Keywords>\n"
                  "            <Keywords name=\"Numbers, extras1\"></Keywords>\n"
                  "            <Keywords name=\"Numbers, extras2\"></Keywords>\n"
                  "            <Keywords name=\"Numbers, suffix1\"></Keywords>\n"
                  "            <Keywords name=\"Numbers, suffix2\"></Keywords>\n"
                  "            <Keywords name=\"Numbers, range\"></Keywords>\n"
                  "            <Keywords name=\"Operators1\">,</Keywords>\n"
                  "            <Keywords name=\"Operators2\"></Keywords>\n"
                  "            <Keywords name=\"Folders in code1, open\"></Keywords>\n"
                  "            <Keywords name=\"Folders in code1, middle\"></Keywords>\n"
                  "            <Keywords name=\"Folders in code1, close\"></Keywords>\n"
                  "            <Keywords name=\"Folders in code2, open\"></Keywords>\n"
                  "            <Keywords name=\"Folders in code2, middle\"></Keywords>\n"
                  "            <Keywords name=\"Folders in code2, close\"></Keywords>\n"
                  "            <Keywords name=\"Folders in comment, open\"></Keywords>\n"
                  "            <Keywords name=\"Folders in comment, middle\"></Keywords>\n"
                  "            <Keywords name=\"Folders in comment, close\"></Keywords>\n"
                  "            <Keywords name=\"Keywords1\">" +
                  notepad_keywords(f.format) +
                  "</Keywords>\n"
                  "            <Keywords name=\"Delimiters\">00[ 01 02] 03&quot; 04 05&quot; "
                  "06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 21 22 23</Keywords>\n"
                  "        </KeywordLists>\n"
                  "        <Styles>\n";
  const std::pair<const char*, const char*> styles[] = {
      {"DEFAULT", "000000"},   {"NUMBERS", "098658"},     {"KEYWORDS1", "0000FF"},
      {"OPERATORS", "808080"}, {"DELIMITERS1", "800080"}, {"DELIMITERS2", "A31515"},
  };
  for (const auto& [name, colour] : styles)
    s += "            <WordsStyle name=\"" + std::string(name) + "\" fgColor=\"" + colour +
         "\" bgColor=\"FFFFFF\" fontStyle=\"" +
         (std::string_view(name) == "KEYWORDS1" || std::string_view(name) == "DELIMITERS1" ? "1"
                                                                                           : "0") +
         "\" nesting=\"0\" />\n";
  return s + "        </Styles>\n    </UserLang>\n";
}

std::string vim_syntax(const format_names& f) {
  std::string s = "\" Vim syntax file for scenario_gen's " + std::string(f.title) +
                  "s.\n\" Generated from the keyword tables; do not edit.\n"
                  "if exists('b:current_syntax')\n  finish\nendif\n\n";
  for (const record_spec& k : keyword_table(f.format))
    s += "syntax match scenarioKeyword /" + vim_keyword(k) + "/\n";
  s += "syntax match scenarioNumber "
       "/\\%(^\\|[[:space:],]\\)\\@<=-\\?\\d\\+\\%([[:space:],]\\|$\\)\\@=/\n"
       "syntax match scenarioSection /^\\s*\\[[^]]*\\]/\n"
       "syntax region scenarioString start=/\"/ end=/\"/ oneline\n\n"
       "highlight default link scenarioKeyword Keyword\n"
       "highlight default link scenarioNumber Number\n"
       "highlight default link scenarioSection Title\n"
       "highlight default link scenarioString String\n\n"
       "let b:current_syntax = '" +
       std::string(f.vim) + "'\n";
  return s;
}

std::string vim_detection() {
  std::string s =
      "\" File-type detection of scenario_gen's descriptions, which the simulator reads as\n"
      "\" Windows-1252.\n";
  for (const format_names& f : k_formats)
    s += "autocmd BufRead,BufNewFile " + std::string(f.patterns) + " set filetype=" + f.vim + "\n";
  return s;
}

void write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_editor_files FOLDER VERSION\n";
    return 2;
  }
  const fs::path folder = argv[1];
  try {
    write(folder / "vscode/package.json", vscode_manifest(argv[2]));
    write(folder / "vscode/language-configuration.json", k_language_configuration);
    std::string notepad = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<NotepadPlus>\n";
    for (const format_names& f : k_formats) {
      write(folder / "vscode/syntaxes" / (std::string(f.id) + ".tmLanguage.json"), tm_grammar(f));
      write(folder / "vim/syntax" / (std::string(f.vim) + ".vim"), vim_syntax(f));
      notepad += notepad_language(f);
    }
    write(folder / "notepad++/scenario_gen.xml", notepad + "</NotepadPlus>\n");
    write(folder / "vim/ftdetect/scenario_gen.vim", vim_detection());
  } catch (const std::exception& e) {
    std::cerr << "make_editor_files: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
