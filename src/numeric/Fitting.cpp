#include "numeric/Fitting.h"

namespace quorvel {

Fitting::Fitting() : history(stdout) {}

Fitting::~Fitting()
{
    if (history != stdout)
        std::fclose(history);
}

void Fitting::_setModelToFit(Equation* object, ModelFunction function)
{
    model_object = object;
    model_function = function;
}

void Fitting::allocate_memory() {}
void Fitting::read_Xm(int, std::span<const double>) {}
void Fitting::read_Ym(std::span<const double>) {}
void Fitting::read_Zm(std::span<const double>) {}
void Fitting::read_sdX(int, std::span<const double>) {}
void Fitting::read_sdY(std::span<const double>) {}
void Fitting::read_sdZ(std::span<const double>) {}
void Fitting::read_EvX(int, std::span<const double>) {}
void Fitting::read_EvY(std::span<const double>) {}
void Fitting::read_EvZ(std::span<const double>) {}
void Fitting::set_initial_parameters(std::span<const double>) {}
void Fitting::set_parameters_pertubation(std::span<const double>) {}
void Fitting::set_variables_pertubation(std::span<const double>) {}
void Fitting::read_additional_parameters(int, std::span<const double>) {}
bool Fitting::set_history(const std::string&) { return false; }
Fitting::Status Fitting::regres(short) { return not_run; }
void Fitting::evaluate(std::span<const double>, std::span<const double>, double&, double&, std::span<const double>, int&) {}

}  // namespace quorvel
