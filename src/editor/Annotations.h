#pragma once

// Every annotation kind, for code that creates or inspects them all.
#include "editor/Annotation.h"
#include "editor/BlurAnnotation.h"
#include "editor/CounterAnnotation.h"
#include "editor/PenAnnotation.h"
#include "editor/ShapeAnnotation.h"
#include "editor/TextAnnotation.h"
