# The resource script, the manifest and the version header, generated from
# the project's version (project(Zentrik VERSION ...) in the top-level
# CMakeLists.txt, the one place that holds it).
#
# zk_generate_resources(OUT_DIR VERSION) writes OUT_DIR/resources/ (zentrik.rc
# and zentrik.manifest with the version filled in, beside copies of the icon
# and the help texts they name, so the script's file names stay relative to
# its own folder) and OUT_DIR/generated/app/Version.h. It sets ZK_RESOURCE_SCRIPT
# and ZK_GENERATED_INCLUDE_DIR in the caller's scope.

set(ZK_RESOURCES_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../resources)
set(ZK_VERSION_HEADER_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/../src/app/Version.h.in)

# zk_read_version(ROOT VAR): the version in ROOT/CMakeLists.txt's project()
# line, for the projects that are not the top-level one (tests/fuzz).
function(zk_read_version root var)
  file(STRINGS ${root}/CMakeLists.txt line REGEX "^project\\(Zentrik VERSION ")
  if(NOT line MATCHES "VERSION ([0-9]+(\\.[0-9]+)*)")
    message(FATAL_ERROR "no project(Zentrik VERSION ...) line in ${root}/CMakeLists.txt")
  endif()
  set(${var} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()

function(zk_generate_resources out_dir version)
  # The four numbers of VERSIONINFO and the manifest: missing ones are 0.
  string(REPLACE "." ";" numbers "${version}")
  list(APPEND numbers 0 0 0)
  list(SUBLIST numbers 0 4 numbers)
  list(GET numbers 0 ZK_VERSION_MAJOR)
  list(GET numbers 1 ZK_VERSION_MINOR)
  list(GET numbers 2 ZK_VERSION_PATCH)
  list(GET numbers 3 ZK_VERSION_TWEAK)
  set(ZK_VERSION "${version}")
  set(ZK_VERSION_QUAD "${ZK_VERSION_MAJOR}.${ZK_VERSION_MINOR}.${ZK_VERSION_PATCH}.${ZK_VERSION_TWEAK}")
  set(ZK_VERSION_COMMAS "${ZK_VERSION_MAJOR},${ZK_VERSION_MINOR},${ZK_VERSION_PATCH},${ZK_VERSION_TWEAK}")

  set(res ${out_dir}/resources)
  configure_file(${ZK_RESOURCES_SOURCE_DIR}/zentrik.rc.in ${res}/zentrik.rc @ONLY)
  configure_file(${ZK_RESOURCES_SOURCE_DIR}/zentrik.manifest.in ${res}/zentrik.manifest @ONLY)
  foreach(file zentrik.ico help1.txt help2.txt)
    configure_file(${ZK_RESOURCES_SOURCE_DIR}/${file} ${res}/${file} COPYONLY)
  endforeach()
  configure_file(${ZK_VERSION_HEADER_TEMPLATE} ${out_dir}/generated/app/Version.h @ONLY)

  set(ZK_RESOURCE_SCRIPT ${res}/zentrik.rc PARENT_SCOPE)
  set(ZK_GENERATED_INCLUDE_DIR ${out_dir}/generated PARENT_SCOPE)
endfunction()
