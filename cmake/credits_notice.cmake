# cmake -DINPUT=picojson.h -DOUTPUT=credits_notice.cpp -P credits_notice.cmake
# Turns the licence comment at the top of a header into creditsNotice(): the library's name, the
# copyright lines as they stand, then every further paragraph on one line (the text box wraps them),
# numbered conditions indented by four spaces, paragraphs set off by empty lines, CR LF throughout.
get_filename_component(library_name "${INPUT}" NAME_WE)
file(READ "${INPUT}" header)
string(FIND "${header}" "/*" comment_start)
string(FIND "${header}" "*/" comment_end)
if(comment_start EQUAL -1 OR comment_end LESS comment_start)
  message(FATAL_ERROR "${INPUT} has no licence comment at its top")
endif()
math(EXPR body_start "${comment_start} + 2")
math(EXPR body_length "${comment_end} - ${body_start}")
string(SUBSTRING "${header}" ${body_start} ${body_length} comment)

# Semicolons separate CMake list items; the disclaimer has one, so it travels as a placeholder.
string(REPLACE ";" "@SEMICOLON@" comment "${comment}")
string(REPLACE "\r" "" comment "${comment}")
string(REPLACE "\n" ";" lines "${comment}")

set(paragraphs "")
set(paragraph "")
set(first_paragraph TRUE)
macro(finish_paragraph)
  if(NOT paragraph STREQUAL "")
    if(paragraph MATCHES "^[0-9]+\\. ")
      set(paragraph "    ${paragraph}")
    endif()
    list(APPEND paragraphs "${paragraph}")
    set(paragraph "")
    set(first_paragraph FALSE)
  endif()
endmacro()
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[ \t]*\\*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    finish_paragraph()
  elseif(paragraph STREQUAL "")
    set(paragraph "${line}")
  elseif(first_paragraph)
    # The copyright holders and the reservation of rights keep a line each.
    set(paragraph "${paragraph}\\r\\n${line}")
  else()
    set(paragraph "${paragraph} ${line}")
  endif()
endforeach()
finish_paragraph()
if(NOT paragraphs)
  message(FATAL_ERROR "the licence comment of ${INPUT} is empty")
endif()

string(REPLACE ";" "\\r\\n\\r\\n" notice "${paragraphs}")
string(REPLACE "\\" "\\\\" notice "${notice}")
string(REPLACE "\\\\r\\\\n" "\\r\\n" notice "${notice}")
string(REPLACE "\"" "\\\"" notice "${notice}")
string(REPLACE "@SEMICOLON@" ";" notice "${notice}")
string(REPLACE "\\r\\n" "\\r\\n\"\n    u\"" notice "${notice}")

file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} by cmake/credits_notice.cmake; do not edit.\n"
  "#include \"ui/credits_notice.h\"\n\n"
  "namespace orelog {\n\n"
  "std::u16string_view creditsNotice() {\n"
  "  static constexpr char16_t kNotice[] =\n"
  "    u\"${library_name}\\r\\n\"\n"
  "    u\"${notice}\";\n"
  "  return {kNotice, sizeof kNotice / sizeof kNotice[0] - 1};\n"
  "}\n\n"
  "}  // namespace orelog\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
