# A text as a CMake list of its lines. Brackets and semicolons would upset CMake's lists, so
# they travel as placeholders; voxmere_line_text gives one line its own characters back.
function(voxmere_split_lines out text)
    string(REPLACE "[" "<open>" text "${text}")
    string(REPLACE "]" "<close>" text "${text}")
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REPLACE "\n" ";" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

macro(voxmere_line_text line)
    string(REPLACE "<open>" "[" ${line} "${${line}}")
    string(REPLACE "<close>" "]" ${line} "${${line}}")
    string(REPLACE "<semicolon>" ";" ${line} "${${line}}")
endmacro()
