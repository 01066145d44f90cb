# Writes one freedesktop launcher per line of launchers.txt into
# ${SUITE}/launchers, with the programs, working folders and icons of the
# suite folder SUITE. Run at install time: cmake -DSUITE=... -DLIST=... -P
file(STRINGS "${LIST}" lines ENCODING UTF-8)
file(MAKE_DIRECTORY "${SUITE}/launchers")
# Exec quoting: inside double quotes, " ` $ and \ take a backslash.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${SUITE}")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  string(REPLACE "|" ";" f "${line}")
  list(GET f 0 id)
  list(GET f 1 program)
  list(GET f 2 folder)
  list(GET f 3 picture)
  list(GET f 4 icon)
  list(GET f 5 name)
  list(GET f 6 comment)
  set(exec "\"${quoted}/${program}\"")
  if(NOT picture STREQUAL "-")
    string(APPEND exec " ${picture}")
  endif()
  if(folder STREQUAL ".")
    set(path "${SUITE}")
  else()
    set(path "${SUITE}/${folder}")
  endif()
  file(WRITE "${SUITE}/launchers/${id}.desktop"
"[Desktop Entry]
Type=Application
Version=1.0
Name=${name}
Comment=${comment}
Exec=${exec}
Path=${path}
Icon=${SUITE}/icons/${icon}.svg
Terminal=false
StartupNotify=true
Categories=Office;
")
endforeach()
