# Writes a program's manual page from its own --help and --version texts, so that the
# page and the program never tell different stories. Run as a script:
#   cmake -DPROGRAM=path -DNAME=name -DSUMMARY=text -DSEE_ALSO=a,b -DOUTPUT=name.1[.gz] -P ManPage.cmake
# The usage lines become the synopsis, the rest the description, kept as the program
# lays it out (its option columns). Roff's own characters are escaped.

foreach(required PROGRAM NAME SUMMARY OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "ManPage.cmake needs -D${required}=...")
  endif()
endforeach()

execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()
execute_process(COMMAND "${PROGRAM}" --version OUTPUT_VARIABLE version RESULT_VARIABLE status
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --version failed (${status})")
endif()
string(REPLACE "${NAME} " "" version "${version}")

# One text line as roff reads it literally.
function(roff_line text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(TOUPPER "${NAME}" title)
roff_line("${SUMMARY}" summary)
roff_line("${NAME}" name)
set(page ".TH \"${title}\" \"1\" \"\" \"Vellmar ${version}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\n${name} \\- ${summary}\n")

# CMake lists split at ';', which help texts may hold: keep them as a placeholder.
string(REPLACE ";" "\\;" help "${help}")
string(REGEX REPLACE "\n$" "" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(synopsis "")
set(description "")
set(inUsage TRUE)
foreach(line IN LISTS lines)
  # Usage lines start with "usage:" or are indented continuations of one.
  if(inUsage AND (line MATCHES "^usage: " OR (NOT synopsis STREQUAL "" AND line MATCHES "^       ")))
    # Continuations keep their indent under the program's name.
    string(REGEX REPLACE "^(usage: |       )" "" line "${line}")
    roff_line("${line}" line)
    string(APPEND synopsis "${line}\n")
  else()
    set(inUsage FALSE)
    roff_line("${line}" line)
    string(APPEND description "${line}\n")
  endif()
endforeach()
string(APPEND page ".SH SYNOPSIS\n.nf\n${synopsis}.fi\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${description}.fi\n")
if(DEFINED SEE_ALSO AND NOT SEE_ALSO STREQUAL "")
  string(REPLACE "," ";" others "${SEE_ALSO}")
  set(refs "")
  foreach(other IN LISTS others)
    roff_line("${other}" other)
    list(APPEND refs "\\fB${other}\\fR(1)")
  endforeach()
  list(JOIN refs ",\n" refs)
  string(APPEND page ".SH SEE ALSO\n${refs}\n")
endif()
# A .gz name is compressed as Debian wants manual pages: best, without a timestamp.
if(OUTPUT MATCHES "\\.gz$")
  string(REGEX REPLACE "\\.gz$" "" plain "${OUTPUT}")
  file(WRITE "${plain}" "${page}")
  execute_process(COMMAND gzip -9nf "${plain}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${plain} failed")
  endif()
else()
  file(WRITE "${OUTPUT}" "${page}")
endif()
