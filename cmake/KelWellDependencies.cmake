# Everything comes from Debian packages; scripts/install-deps.sh installs them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(OMNIORB REQUIRED IMPORTED_TARGET GLOBAL omniORB4 omniDynamic4 omnithread4)
pkg_check_modules(OMNICOS REQUIRED IMPORTED_TARGET GLOBAL omniCOS4 omniCOSDynamic4)
pkg_check_modules(PROJ REQUIRED IMPORTED_TARGET GLOBAL proj)
pkg_check_modules(PQXX REQUIRED IMPORTED_TARGET GLOBAL libpqxx)
find_package(SQLite3 REQUIRED)
find_package(Threads REQUIRED)

find_program(OMNIIDL omniidl REQUIRED)
# omniORB's own IDL (COS modules) and the folder of the generated COS headers.
find_path(OMNIORB_IDL_DIR CosPropertyService.idl
  PATHS /usr/share/idl/omniORB/COS /usr/share/omniORB/idl/COS REQUIRED)
get_filename_component(OMNIORB_IDL_ROOT ${OMNIORB_IDL_DIR} DIRECTORY)
find_path(OMNIORB_COS_INCLUDE_DIR CosPropertyService.hh PATH_SUFFIXES COS REQUIRED)

if(KELWELL_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
if(KELWELL_BUILD_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()
