/* Umbrella header: every public module of libzarnutils. */
#ifndef ZARNUTILS_ZARNUTILS_H
#define ZARNUTILS_ZARNUTILS_H

#include "zarnutils/zarn_api.h"
#include "zarnutils/gllist.h"
#include "zarnutils/hashtable.h"
#include "zarnutils/zarnmalloc.h"
#include "zarnutils/except.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/msgdigest.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtnum.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/stred.h"
#include "zarnutils/rtsymtab.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/varutl.h"
#include "zarnutils/rttaglst.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/xfile.h"
#include "zarnutils/rtvalue.h"
#include "zarnutils/varmask.h"
#include "zarnutils/varassign.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/numutil.h"
#include "zarnutils/rtjacbn.h"
#include "zarnutils/rthessbn.h"

#endif
