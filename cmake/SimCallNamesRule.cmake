# zk_sim_call_names(ROOT OUTVAR): a rule that gathers the names the simulated
# calls of ROOT/src/platform/sim record under (cmake/SimCallNames.cmake) into
# a generated source; OUTVAR gets its path, to be compiled with the sim.
function(zk_sim_call_names root outvar)
  file(GLOB sources CONFIGURE_DEPENDS ${root}/src/platform/sim/*.cpp)
  set(out ${CMAKE_BINARY_DIR}/generated/sim/SimCallNames.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${root}/src/platform/sim
            -DOUTPUT=${out} -P ${root}/cmake/SimCallNames.cmake
    DEPENDS ${sources} ${root}/cmake/SimCallNames.cmake
    COMMENT "Gathering the simulated calls' names" VERBATIM)
  set(${outvar} ${out} PARENT_SCOPE)
endfunction()
