# The shipped ZIP code database.
#
# qr_add_zip_database(<dist dir>) adds the target `zip_database`, which produces
# <dist dir>/envelope.dat and <dist dir>/zipcodes-LICENSE.txt from the zipcodes npm
# package pinned in tools/zipdb/package-lock.json. The package is installed once with
# `npm ci` into <build>/zipdb-npm (again only when package.json or the lockfile
# change), and the converter reruns only when the package or the converter changes.
# The target is not part of `all`: hook it where the program folder is assembled.
set(QR_ZIPDB_TOOL_DIR ${CMAKE_CURRENT_LIST_DIR}/../tools/zipdb)
cmake_path(NORMAL_PATH QR_ZIPDB_TOOL_DIR)

function(qr_add_zip_database dist_dir)
  find_program(QR_NODE_EXECUTABLE NAMES node nodejs REQUIRED)
  find_program(QR_NPM_EXECUTABLE NAMES npm REQUIRED)
  set(npm_dir ${CMAKE_BINARY_DIR}/zipdb-npm)
  set(installed ${npm_dir}/installed.stamp)
  set(database ${dist_dir}/envelope.dat)
  set(license ${dist_dir}/zipcodes-LICENSE.txt)
  set(converter ${QR_ZIPDB_TOOL_DIR}/make-envelope-dat.js)

  add_custom_command(
    OUTPUT ${installed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${npm_dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QR_ZIPDB_TOOL_DIR}/package.json
            ${QR_ZIPDB_TOOL_DIR}/package-lock.json ${npm_dir}
    COMMAND ${QR_NPM_EXECUTABLE} ci --prefix ${npm_dir} --ignore-scripts --no-audit --no-fund
            --prefer-offline --loglevel=error
    COMMAND ${CMAKE_COMMAND} -E touch ${installed}
    DEPENDS ${QR_ZIPDB_TOOL_DIR}/package.json ${QR_ZIPDB_TOOL_DIR}/package-lock.json
    COMMENT "Installing the zipcodes package (npm ci)"
    VERBATIM)

  add_custom_command(
    OUTPUT ${database} ${license}
    COMMAND ${QR_NODE_EXECUTABLE} ${converter} ${npm_dir}/node_modules/zipcodes ${dist_dir}
    DEPENDS ${installed} ${converter}
    COMMENT "Building envelope.dat"
    VERBATIM)

  add_custom_target(zip_database DEPENDS ${database} ${license})
  set_property(TARGET zip_database PROPERTY QR_ZIP_DATABASE_FILE ${database})
endfunction()
