# Extra link needs of individual benchmarks.

# UDUNITS-2 is a baseline of the units benchmark only; the library never links
# it. Without it the benchmark still builds and runs its other baselines.
if(TARGET uom_bench)
  find_path(UDUNITS2_INCLUDE_DIR udunits2.h PATH_SUFFIXES udunits2)
  find_library(UDUNITS2_LIBRARY udunits2)
  if(UDUNITS2_INCLUDE_DIR AND UDUNITS2_LIBRARY)
    message(STATUS "uom_bench: UDUNITS-2 baseline enabled (${UDUNITS2_LIBRARY})")
    target_include_directories(uom_bench PRIVATE ${UDUNITS2_INCLUDE_DIR})
    target_link_libraries(uom_bench PRIVATE ${UDUNITS2_LIBRARY})
    target_compile_definitions(uom_bench PRIVATE ZARN_BENCH_HAVE_UDUNITS2=1)
  else()
    message(STATUS "uom_bench: UDUNITS-2 not found, its baseline is skipped")
  endif()
endif()

# ColPack is a baseline of the grouping benchmark only; without it the
# benchmark runs the library's side alone.
if(TARGET vgroups_bench)
  find_path(COLPACK_INCLUDE_DIR ColPack/ColPackHeaders.h)
  find_library(COLPACK_LIBRARY ColPack)
  if(COLPACK_INCLUDE_DIR AND COLPACK_LIBRARY)
    message(STATUS "vgroups_bench: ColPack baseline enabled (${COLPACK_LIBRARY})")
    target_include_directories(vgroups_bench SYSTEM PRIVATE ${COLPACK_INCLUDE_DIR} ${COLPACK_INCLUDE_DIR}/ColPack)
    target_link_libraries(vgroups_bench PRIVATE ${COLPACK_LIBRARY})
    target_compile_definitions(vgroups_bench PRIVATE ZARN_BENCH_HAVE_COLPACK=1)
    # ColPack colours in OpenMP threads; the benchmark holds it to one (see there).
    find_package(OpenMP COMPONENTS CXX)
    if(OpenMP_CXX_FOUND)
      target_link_libraries(vgroups_bench PRIVATE OpenMP::OpenMP_CXX)
      target_compile_definitions(vgroups_bench PRIVATE ZARN_BENCH_HAVE_OPENMP=1)
    endif()
  else()
    message(STATUS "vgroups_bench: ColPack not found, its baseline is skipped")
  endif()
endif()
