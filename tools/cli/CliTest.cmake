# Runs the iwvestra tool as a user would and checks exit codes, messages and
# files. Invoked by ctest as
#   cmake -DTOOL=<exe> -DEMULATOR=<launcher or empty> -DSAMPLES=<dir> -DWORK=<dir> -P CliTest.cmake

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(failures 0)

# run(EXIT <code> [STDOUT <regex>] [STDERR <regex>] [DIR <folder>] ARGS <arguments...>)
function(run)
  cmake_parse_arguments(R "" "EXIT;STDOUT;STDERR;DIR" "ARGS" ${ARGN})
  if(NOT R_DIR)
    set(R_DIR ${WORK})
  endif()
  execute_process(COMMAND ${EMULATOR} ${TOOL} ${R_ARGS}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err WORKING_DIRECTORY ${R_DIR})
  set(problem "")
  if(NOT code STREQUAL R_EXIT)
    string(APPEND problem " exit ${code}, expected ${R_EXIT};")
  endif()
  if(DEFINED R_STDOUT AND NOT out MATCHES "${R_STDOUT}")
    string(APPEND problem " stdout does not match '${R_STDOUT}';")
  endif()
  if(DEFINED R_STDERR AND NOT err MATCHES "${R_STDERR}")
    string(APPEND problem " stderr does not match '${R_STDERR}';")
  endif()
  if(problem)
    message(SEND_ERROR "iwvestra ${R_ARGS}:${problem}\nstdout: ${out}\nstderr: ${err}")
  endif()
endfunction()

run(EXIT 0 STDOUT "usage: iwvestra lookup GOODS_FILE LOOKUP_FILE.*iwvestra count" ARGS --help)
run(EXIT 0 STDOUT "usage: iwvestra count TERMINAL_DATA_FILE COUNT_FILE" ARGS count --help)
run(EXIT 0 STDOUT "^iwvestra [0-9]+\\.[0-9]+\\.[0-9]+(-dev\\.[0-9]+\\.[0-9A-Za-z.]+)?\r?\n$" ARGS --version)
run(EXIT 2 STDERR "usage: iwvestra" ARGS)
run(EXIT 2 STDERR "unknown command stock.*usage: iwvestra" ARGS stock a b)
run(EXIT 2 STDERR "expected 2 file arguments.*usage: iwvestra lookup" ARGS lookup goods.txt)
run(EXIT 2 STDERR "--name-length must be one of 10\\|15\\|20\\|25\\|30" ARGS lookup a b --name-length 12)
run(EXIT 2 STDERR "option --price-level needs a value" ARGS lookup a b --price-level)
run(EXIT 2 STDERR "unknown option --name-length.*usage: iwvestra count" ARGS count a b --name-length 10)
run(EXIT 1 STDERR "Cannot open file missing.txt" ARGS lookup missing.txt inwout.txt)
run(EXIT 1 STDERR "Cannot create file nowhere/count.txt" ARGS count ${SAMPLES}/inwin.txt nowhere/count.txt)

run(EXIT 0 ARGS lookup ${SAMPLES}/goods.txt inwout.txt --price-level=1 --name-length 10)
# Names cut to 10 with Polish letters in Windows-1250, purchase prices; the
# bytes of the whole file as hex.
string(CONCAT expected_lookup
  "4db96b612070737a656e2c353930303531323030303031342c31322e3530302c302c312e38390d0a53f36c206b616d69"
  "656e2c353930303531323030303032312c34302e3030302c302c302e39350d0a4d6173b36f20657874722c3539303035"
  "31323030303033382c382e3030302c302c352e32390d0a43686c656220bf79746e2c353930303531323030303034352c"
  "302e3031352c302c332e31300d0a8c6d696574616e6120312c353930303531323030303035322c362e3530302c302c33"
  "2e37390d0aaf7572656b209c6cb9732c353930303531323030303036392c302c302c322e39390d0ac677696bb361207a"
  "20632c353930303531323030303037362c302e3132302c302c332e35350d0aa36f736f9c2077ea647a2c353930303531"
  "323030303038332c332e3235302c302c31322e39390d0a4a6162b36b61204c69672c353930303531323030303039302c"
  "3132352e3735302c302c322e35300d0a47ea736920736d616c652c353930303531323030303130362c302e3030372c30"
  "2c352e34300d0a")
file(READ ${WORK}/inwout.txt lookup HEX)
if(NOT lookup STREQUAL expected_lookup)
  message(SEND_ERROR "inwout.txt holds ${lookup}")
endif()

run(EXIT 0 ARGS count ${SAMPLES}/inwin.txt count.txt)
# Compared as hex: CMake lists would read the semicolons as separators.
file(READ ${WORK}/count.txt counted HEX)
string(CONCAT expected_count
  "INW;5900512000014;12000\r\nINW;5900512000021;1500\r\nINW;5900512000045;0250\r\n"
  "INW;5900512000052;3125\r\nINW;5900512000069;2500\r\nINW;5900512000076;7000\r\n"
  "INW;5900512000090;123456500\r\nINW;5900512000014;3000\r\n")
string(HEX "${expected_count}" expected_count)
if(NOT counted STREQUAL expected_count)
  message(SEND_ERROR "count.txt holds ${counted}, expected ${expected_count}")
endif()

# check: a shop laid out under WORK, the simulated drivers found through the
# search path (PATH natively, WINEPATH under Wine), the data path written as a
# Windows host passes it.
file(MAKE_DIRECTORY ${WORK}/Shop/Data)
if(EMULATOR)
  set(root "Z:${WORK}")
  string(REPLACE "/" "\\" root "${root}")
  string(REPLACE "/" "\\" search_path "Z:${SIMULATOR}")
  set(search_variable WINEPATH)
else()
  set(root "${WORK}")
  set(search_path "${SIMULATOR}:$ENV{PATH}")
  set(search_variable PATH)
endif()
set(ENV{${search_variable}} "${search_path}")
file(MAKE_DIRECTORY ${WORK}/Shop/archiwum/2026-12-08_093102 ${WORK}/Shop/archiwum/2026-12-08_093102_02
  ${WORK}/Shop/archiwum/000003_2026-12-08_093102_niezaimportowany ${WORK}/Shop/archiwum/notes)
file(WRITE ${WORK}/Shop/Data/towary.txt "X;1;Mleko;1;1;1\r\n")
# The report is Polish, in Windows-1250: only its ASCII words are matched
# here; the technician's test reads it whole under wine64.
run(EXIT 0 STDOUT "Shop.iwvestra.log\n[^\n]*Shop.archiwum \\([^\n]*: 2, [^\n]*: 1\\)\n[^\n]*dlookup.exe inwout.txt,2,5\n[^\n]*232_read.exe inwin.txt,2,5\n.*10 min \\(6000 .*dlookup.exe +[^\n]*dlookup.exe\n.*nie znaleziono problem"
  ARGS check "${root}\\Shop\\Data\\towary.txt" --port COM2 --baud 9600 --timeout "10 min")
run(EXIT 1 STDOUT "PROBLEM: --baud [^\n]*1152[^\n]*9600\\|19200\\|38400\\|57600\\|115200[^\n]*dlookup.exe inwout.txt,1[^,].*liczba problem[^\n]*: 1"
  ARGS check "${root}\\Shop\\Data\\towary.txt" --baud 1152)
run(EXIT 1 STDOUT "PROBLEM: katalog roboczy [^\n]*Elsewhere nie istnieje\nPROBLEM: folder pliku danych [^\n]*Data. nie istnieje"
  ARGS check "${root}\\Elsewhere\\Data\\towary.txt")
run(EXIT 1 STDOUT "katalog roboczy +\\(pusty\\).*PROBLEM: [^\n]*dwa uko" ARGS check towary.txt)

if(EMULATOR)
  set(ENV{WINEPATH} "C:\\windows")
else()
  set(ENV{PATH} "/nonexistent")
endif()
run(EXIT 1 STDOUT "PROBLEM: [^\n]*dlookup.exe w miejscach.*PROBLEM: [^\n]*232_read.exe w miejscach.*liczba problem[^\n]*: 2"
  ARGS check "${root}\\Shop\\Data\\towary.txt")
